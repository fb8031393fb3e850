#include "tests/support/world_triangles_file.h"

#include <cstdio>

content::Ms3dFile Ms3dFileOfWorldTriangles(const std::vector<WorldTriangle>& triangles) {
    content::Ms3dFile file;
    file.groups.emplace_back();
    file.groups[0].name = "bounds";
    for (const WorldTriangle& triangle : triangles) {
        content::Ms3dFileTriangle written;
        for (int corner = 0; corner < 3; ++corner) {
            written.vertexIndices[corner] = static_cast<uint16_t>(file.vertices.size());
            content::Ms3dFileVertex vertex;
            vertex.x = triangle[corner].x;
            vertex.y = triangle[corner].y;
            vertex.z = -triangle[corner].z;
            file.vertices.push_back(vertex);
        }
        file.groups[0].triangleIndices.push_back(static_cast<uint16_t>(file.triangles.size()));
        file.triangles.push_back(written);
    }
    return file;
}

bool WriteMs3dFile(const std::string& path, const content::Ms3dFile& file) {
    const std::vector<uint8_t> bytes = content::EncodeMs3d(file);
    if (bytes.empty()) {
        return false;
    }
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    return std::fclose(out) == 0 && written;
}
