// A MilkShape 3D model file in memory: vertices, triangles, groups and materials, with z negated
// into the game's left-handed world. A model lives only during the load that reads it: each caller
// copies what it needs and destroys it.
#pragma once

#include <cstdint>

#include "d3dx/d3dx_math.h"

struct Ms3dVertex {
    D3DXVECTOR3 position;
    int32_t boneIndex;
};

struct Ms3dTriangle {
    uint32_t vertexIndices[3];
    D3DXVECTOR3 normals[3];
    float s[3];
    float t[3];
};

struct Ms3dGroup {
    int32_t numTriangles;
    uint32_t* triangleIndices;
    int32_t materialIndex;  // -1: no material
};

struct Ms3dMaterial {
    // Diffuse, ambient, specular, emissive and power: the layout of D3DMATERIAL8, so that a
    // material copies into a device material as one block.
    D3DCOLORVALUE diffuse;
    D3DCOLORVALUE ambient;
    D3DCOLORVALUE specular;
    D3DCOLORVALUE emissive;
    float power;
    char* textureName;  // 128 bytes, NUL-terminated
};

struct Ms3dModel {
    int32_t numVertices;
    int32_t numTriangles;
    int32_t numGroups;
    int32_t numMaterials;
    Ms3dVertex* vertices;
    Ms3dTriangle* triangles;
    Ms3dGroup* groups;
    Ms3dMaterial* materials;

    Ms3dModel();
    ~Ms3dModel();
    Ms3dModel(const Ms3dModel&) = delete;
    Ms3dModel& operator=(const Ms3dModel&) = delete;
};

// Reads a model file; null when the file is missing, is not a MilkShape 3D file of version 3 or
// later, ends early, or holds an index out of range. The caller deletes the model.
Ms3dModel* LoadMs3dModel(const char* path);

// The directory followed by the file name's tail (from its last slash or backslash, which stays
// part of the tail). The caller frees the result with delete[].
char* JoinDataPath(const char* fileName, const char* directory);
