// Size arithmetic and allocation that cannot go wrong silently: every product of image
// dimensions, strides and counts goes through here, and every buffer sized from a file's header
// is allocated without throwing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <stdexcept>
#include <vector>

#include "platform/win32.h"

// False when a * b does not fit in size_t.
inline bool MultiplySizes(size_t a, size_t b, size_t* product) {
    return !__builtin_mul_overflow(a, b, product);
}

inline bool MultiplySizes(size_t a, size_t b, size_t c, size_t* product) {
    size_t ab = 0;
    return MultiplySizes(a, b, &ab) && MultiplySizes(ab, c, product);
}

// Resizes without letting an allocation failure escape as an exception.
template <typename T>
bool TryResize(std::vector<T>* buffer, size_t count) {
    try {
        buffer->resize(count);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
}

template <typename T>
bool TryAssign(std::vector<T>* buffer, size_t count, const T& value) {
    try {
        buffer->assign(count, value);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
}

// Sizes the buffer of a width x height image, every element `value`: E_FAIL for an empty size
// or one beyond any address space, E_OUTOFMEMORY when the memory is not there.
template <typename T>
HRESULT AssignImageBuffer(std::vector<T>* buffer, uint32_t width, uint32_t height, const T& value) {
    size_t count = 0;
    if (width == 0 || height == 0 || !MultiplySizes(width, height, &count)) {
        return E_FAIL;
    }
    return TryAssign(buffer, count, value) ? S_OK : E_OUTOFMEMORY;
}
