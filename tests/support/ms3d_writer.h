// A small MilkShape 3D writer for tests: vertices, triangles and groups as the file stores them
// (z as written, before the loader negates it), no materials, version 4.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct Ms3dWriterVertex {
    float x;
    float y;
    float z;
};

struct Ms3dWriterGroup {
    std::vector<uint16_t> triangles;  // indices into the triangle list
    int8_t materialIndex = -1;
};

struct Ms3dWriterModel {
    std::vector<Ms3dWriterVertex> vertices;
    std::vector<std::array<uint16_t, 3>> triangles;  // vertex indices of corners 0, 1, 2
    std::vector<Ms3dWriterGroup> groups;
};

// One group of the given triangles, corners in the game's world (z is negated into the file, as
// the loader negates it back), each triangle with its own three vertices.
Ms3dWriterModel Ms3dModelOfWorldTriangles(
    const std::vector<std::array<Ms3dWriterVertex, 3>>& triangles);

std::vector<uint8_t> Ms3dFileBytes(const Ms3dWriterModel& model);
// False when the file cannot be written.
bool WriteMs3dFile(const std::string& path, const Ms3dWriterModel& model);
