// Model files for tests of code that loads triangles (the collision model): triangles given in the
// game's world, written with the content tool's MilkShape 3D writer.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "d3dx/d3dx_math.h"
#include "tools/content/ms3d_writer.h"

using WorldTriangle = std::array<D3DXVECTOR3, 3>;

// One group holding the triangles in order, each with its own three vertices; z is negated into
// the file, as the loader negates it back.
content::Ms3dFile Ms3dFileOfWorldTriangles(const std::vector<WorldTriangle>& triangles);

// False when the file cannot be written.
bool WriteMs3dFile(const std::string& path, const content::Ms3dFile& file);
