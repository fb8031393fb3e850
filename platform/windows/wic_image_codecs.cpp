// PNG and JPEG decoding on Windows through the Windows Imaging Component, which every Windows
// since XP SP3 carries: the same two entries that libpng and libjpeg serve on Linux, handing the
// texture loader the same A8R8G8B8 image. WIC reads the file from our buffer, never past it.
#include <wincodec.h>

#include <climits>

#include "platform/system_image_codecs.h"

namespace {

// One reference on a COM object, given up when the decode leaves its scope on any path.
template <typename T>
class Held {
public:
    Held() = default;
    ~Held() {
        if (object != nullptr) {
            object->Release();
        }
    }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    T** Out() { return &object; }
    T* operator->() const { return object; }
    T* Get() const { return object; }

private:
    T* object = nullptr;
};

// COM is needed only while a file is decoded; each successful initialisation is balanced.
class ComScope {
public:
    ComScope() : result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(result)) {
            CoUninitialize();
        }
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    // Already initialised in the other threading model serves just as well.
    bool Usable() const { return SUCCEEDED(result) || result == RPC_E_CHANGED_MODE; }

private:
    HRESULT result;
};

// Whether the file's own pixels carry alpha or transparency: an alpha channel, or a palette with
// translucent entries (a PNG with a transparency chunk).
bool FrameHasAlpha(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame) {
    WICPixelFormatGUID format;
    if (FAILED(frame->GetPixelFormat(&format))) {
        return false;
    }
    Held<IWICPalette> palette;
    if (SUCCEEDED(factory->CreatePalette(palette.Out())) &&
        SUCCEEDED(frame->CopyPalette(palette.Get()))) {
        BOOL hasAlpha = FALSE;
        return SUCCEEDED(palette->HasAlpha(&hasAlpha)) && hasAlpha;
    }
    Held<IWICComponentInfo> info;
    if (FAILED(factory->CreateComponentInfo(format, info.Out()))) {
        return false;
    }
    Held<IWICPixelFormatInfo2> formatInfo;
    if (FAILED(info->QueryInterface(IID_IWICPixelFormatInfo2,
                                    reinterpret_cast<void**>(formatInfo.Out())))) {
        return false;
    }
    BOOL transparent = FALSE;
    return SUCCEEDED(formatInfo->SupportsTransparency(&transparent)) && transparent;
}

HRESULT DecodeWithWic(const GUID& container, const uint8_t* data, size_t size, UINT maxWidth,
                      UINT maxHeight, SystemImage* image) {
    if (data == nullptr || image == nullptr || size == 0 || size > ULONG_MAX) {
        return E_FAIL;
    }
    ComScope com;
    if (!com.Usable()) {
        return E_FAIL;
    }
    Held<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Out())))) {
        return E_FAIL;
    }
    Held<IWICStream> stream;
    Held<IWICBitmapDecoder> decoder;
    Held<IWICBitmapFrameDecode> frame;
    // WIC only reads through the stream; the buffer is not written.
    if (FAILED(factory->CreateStream(stream.Out())) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(data), static_cast<DWORD>(size))) ||
        FAILED(factory->CreateDecoder(container, nullptr, decoder.Out())) ||
        FAILED(decoder->Initialize(stream.Get(), WICDecodeMetadataCacheOnDemand)) ||
        FAILED(decoder->GetFrame(0, frame.Out()))) {
        return E_FAIL;
    }

    UINT width = 0;
    UINT height = 0;
    if (FAILED(frame->GetSize(&width, &height)) || width == 0 || height == 0) {
        return E_FAIL;
    }
    if (width > maxWidth || height > maxHeight) {
        return kSystemImageTooLarge;
    }
    const bool alpha = FrameHasAlpha(factory.Get(), frame.Get());

    // Straight (not premultiplied) B, G, R, A bytes are A8R8G8B8 values on a little-endian CPU.
    Held<IWICBitmapSource> converted;
    if (FAILED(
            WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame.Get(), converted.Out()))) {
        return E_FAIL;
    }
    const unsigned long long stride = 4ull * width;
    const unsigned long long bytes = stride * height;
    if (bytes > UINT_MAX) {
        return kSystemImageTooLarge;
    }
    const HRESULT allocated = image->AllocatePixels(width, height, alpha);
    if (FAILED(allocated)) {
        return allocated;
    }
    if (FAILED(converted->CopyPixels(nullptr, static_cast<UINT>(stride), static_cast<UINT>(bytes),
                                     reinterpret_cast<BYTE*>(image->pixels.data())))) {
        return E_FAIL;
    }
    return S_OK;
}

}  // namespace

HRESULT DecodePngImage(const uint8_t* data, size_t size, UINT maxWidth, UINT maxHeight,
                       SystemImage* image) {
    return DecodeWithWic(GUID_ContainerFormatPng, data, size, maxWidth, maxHeight, image);
}

HRESULT DecodeJpegImage(const uint8_t* data, size_t size, UINT maxWidth, UINT maxHeight,
                        SystemImage* image) {
    return DecodeWithWic(GUID_ContainerFormatJpeg, data, size, maxWidth, maxHeight, image);
}
