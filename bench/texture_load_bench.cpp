// Texture loading speed on the recording device: the keyed load the trees and the spray make
// (stretched to 512 x 512 on a device that needs powers of two), a plain 512 x 512 load, and a
// start-up's worth of textures.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "d3dx/d3dx_texture.h"
#include "tests/support/image_file_writers.h"
#include "tests/support/recording_device.h"

namespace {

const std::string kDirectory = "texture_load_bench_images";

class BenchDevice {
public:
    explicit BenchDevice(bool powersOfTwo) {
        RecordingSetup::Get().Restore();
        if (powersOfTwo) {
            RecordingSetup::Get().caps.TextureCaps |= D3DPTEXTURECAPS_POW2;
        }
        d3d = Direct3DCreate8(D3D_SDK_VERSION);
        D3DPRESENT_PARAMETERS parameters{};
        d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, 0, &parameters, &device);
    }
    ~BenchDevice() {
        device->Release();
        d3d->Release();
        RecordingSetup::Get().Restore();
    }
    IDirect3DDevice8* Get() const { return device; }

private:
    IDirect3D8* d3d = nullptr;
    IDirect3DDevice8* device = nullptr;
};

// A sprite-like image: a coloured blob on pure black, as the keyed textures are.
TestImage Sprite(uint32_t side) {
    TestImage image = PatternImage(side, side);
    for (uint32_t y = 0; y < side; ++y) {
        for (uint32_t x = 0; x < side; ++x) {
            const int dx = static_cast<int>(x) - static_cast<int>(side / 2);
            const int dy = static_cast<int>(y) - static_cast<int>(side / 2);
            if (dx * dx + dy * dy > static_cast<int>(side * side / 6)) {
                image.argb[y * side + x] = 0xFF000000;
            }
        }
    }
    return image;
}

std::string Save(const std::string& name, const Bytes& bytes) {
    std::filesystem::create_directories(kDirectory);
    const std::string path = kDirectory + "/" + name;
    WriteBytesToFile(path, bytes);
    return path;
}

HRESULT LoadKeyed(IDirect3DDevice8* device, const std::string& path, IDirect3DTexture8** texture) {
    return D3DXCreateTextureFromFileExA(device, path.c_str(), 300, 300, 0, 0, D3DFMT_UNKNOWN,
                                        D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0xFF000000,
                                        nullptr, nullptr, texture);
}

// Loads every image once, as the game does: plain, or keyed for the sprites. False (with the
// benchmark marked as failed) on the first that does not load.
bool LoadAll(IDirect3DDevice8* device, const std::vector<std::string>& plain,
             const std::vector<std::string>& keyed, benchmark::State& state) {
    for (const std::string& path : plain) {
        IDirect3DTexture8* texture = nullptr;
        if (FAILED(D3DXCreateTextureFromFileA(device, path.c_str(), &texture))) {
            state.SkipWithError("plain load failed");
            return false;
        }
        texture->Release();
    }
    for (const std::string& path : keyed) {
        IDirect3DTexture8* texture = nullptr;
        if (FAILED(LoadKeyed(device, path, &texture))) {
            state.SkipWithError("keyed load failed");
            return false;
        }
        texture->Release();
    }
    return true;
}

void KeyedLoadTo512(benchmark::State& state) {
    BenchDevice device(true);
    const std::string path =
        Save("sprite.bmp", WriteBmp24(Sprite(static_cast<uint32_t>(state.range(0)))));
    for (auto _ : state) {
        IDirect3DTexture8* texture = nullptr;
        if (FAILED(LoadKeyed(device.Get(), path, &texture))) {
            state.SkipWithError("load failed");
            break;
        }
        texture->Release();
        CallLog::Get().Reset();
    }
}
BENCHMARK(KeyedLoadTo512)->Arg(64)->Arg(256)->Arg(512)->Unit(benchmark::kMillisecond);

void PlainLoad512(benchmark::State& state) {
    BenchDevice device(false);
    const std::string path = Save("plain.bmp", WriteBmp24(PatternImage(512, 512)));
    for (auto _ : state) {
        IDirect3DTexture8* texture = nullptr;
        if (FAILED(D3DXCreateTextureFromFileA(device.Get(), path.c_str(), &texture))) {
            state.SkipWithError("load failed");
            break;
        }
        texture->Release();
        CallLog::Get().Reset();
    }
}
BENCHMARK(PlainLoad512)->Unit(benchmark::kMillisecond);

// Fifteen textures as start-up loads them: six 512 x 512 sky faces, water and sand, three keyed
// sprites stretched to 512 x 512, and four level textures (BMP, PNG and JPEG).
void StartupTextures(benchmark::State& state) {
    BenchDevice device(true);
    std::vector<std::string> plain;
    for (int i = 0; i < 6; ++i) {
        plain.push_back(
            Save("sky" + std::to_string(i) + ".bmp", WriteBmp24(PatternImage(512, 512))));
    }
    plain.push_back(Save("water.bmp", WriteBmp24(PatternImage(256, 256))));
    plain.push_back(Save("sand.bmp", WriteBmp24(PatternImage(256, 256))));
    plain.push_back(Save("rock.bmp", WriteBmp24(PatternImage(256, 256))));
    plain.push_back(Save("grass.bmp", WriteBmp24(PatternImage(256, 256))));
    plain.push_back(Save("beach.png", WritePng(PatternImage(256, 256), PngKind::kRgb)));
    plain.push_back(Save("cliff.jpg", WriteJpeg(PatternImage(256, 256), 90)));
    std::vector<std::string> keyed;
    keyed.push_back(Save("leaf.bmp", WriteBmp24(Sprite(64))));
    keyed.push_back(Save("tree.bmp", WriteBmp24(Sprite(256))));
    keyed.push_back(Save("particle.bmp", WriteBmp24(Sprite(32))));
    for (auto _ : state) {
        if (!LoadAll(device.Get(), plain, keyed, state)) {
            return;
        }
        CallLog::Get().Reset();
    }
}
BENCHMARK(StartupTextures)->Unit(benchmark::kMillisecond);

// Every image of the generated data/ (when the build has made it beside this program), each
// loaded as the game loads it: the three sprites keyed, everything else plain.
void GeneratedContent(benchmark::State& state) {
    if (!std::filesystem::is_directory("data")) {
        state.SkipWithError("no generated data/ in the working directory");
        return;
    }
    std::vector<std::string> plain;
    std::vector<std::string> keyed;
    for (const auto& entry : std::filesystem::directory_iterator("data")) {
        const std::string extension = entry.path().extension().string();
        if (extension != ".bmp" && extension != ".png" && extension != ".jpg") {
            continue;
        }
        const std::string name = entry.path().filename().string();
        const bool sprite =
            name == "leaftexture.bmp" || name == "treetexture.bmp" || name == "particle.bmp";
        (sprite ? keyed : plain).push_back(entry.path().string());
    }
    BenchDevice device(true);
    for (auto _ : state) {
        if (!LoadAll(device.Get(), plain, keyed, state)) {
            return;
        }
        CallLog::Get().Reset();
    }
    state.counters["textures"] = static_cast<double>(plain.size() + keyed.size());
}
BENCHMARK(GeneratedContent)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
