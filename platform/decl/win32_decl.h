// Our declarations of the Win32 subset the game calls, for builds without the Windows SDK.
// Names, signatures and values follow the SDK; widths follow its 64-bit data model (LLP64), so a
// DWORD is 32 bits here as it is there. The implementations live in the platform's back-ends.
#pragma once

#include <cstddef>
#include <cstdint>

typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef int INT;
typedef unsigned int UINT;
typedef int BOOL;
typedef int WINBOOL;
typedef float FLOAT;
typedef char CHAR;
typedef int32_t HRESULT;
typedef void* LPVOID;
typedef void* PVOID;
typedef const char* LPCSTR;
typedef char* LPSTR;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef BYTE* LPBYTE;
typedef DWORD* LPDWORD;

#define TRUE 1
#define FALSE 0

#define WINAPI
#define STDMETHODCALLTYPE
#define CALLBACK

// Handles are distinct opaque pointer types, as with the SDK's STRICT declarations.
struct HWND__;
typedef HWND__* HWND;
struct HINSTANCE__;
typedef HINSTANCE__* HINSTANCE;
typedef HINSTANCE HMODULE;
struct HMONITOR__;
typedef HMONITOR__* HMONITOR;

typedef struct tagRECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
} RECT;

typedef struct tagPOINT {
    LONG x;
    LONG y;
} POINT;

typedef struct tagPALETTEENTRY {
    BYTE peRed;
    BYTE peGreen;
    BYTE peBlue;
    BYTE peFlags;
} PALETTEENTRY;

// Only ever passed as a null pointer (Present's dirty region).
struct _RGNDATA;
typedef _RGNDATA RGNDATA;

typedef struct _GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
} GUID;
typedef GUID IID;
typedef const GUID& REFGUID;
typedef const IID& REFIID;

inline bool operator==(const GUID& a, const GUID& b) {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) {
        return false;
    }
    for (int i = 0; i < 8; ++i) {
        if (a.Data4[i] != b.Data4[i]) {
            return false;
        }
    }
    return true;
}
inline bool operator!=(const GUID& a, const GUID& b) {
    return !(a == b);
}

#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)
#define MAKE_HRESULT(sev, fac, code) \
    ((HRESULT)(((uint32_t)(sev) << 31) | ((uint32_t)(fac) << 16) | ((uint32_t)(code))))

#define S_OK ((HRESULT)0)
#define S_FALSE ((HRESULT)1)
#define E_NOTIMPL ((HRESULT)0x80004001u)
#define E_NOINTERFACE ((HRESULT)0x80004002u)
#define E_POINTER ((HRESULT)0x80004003u)
#define E_FAIL ((HRESULT)0x80004005u)
#define E_ACCESSDENIED ((HRESULT)0x80070005u)
#define E_HANDLE ((HRESULT)0x80070006u)
#define E_OUTOFMEMORY ((HRESULT)0x8007000Eu)
#define E_INVALIDARG ((HRESULT)0x80070057u)

#define MB_OK 0x00000000u
#define IDOK 1

#define WM_DESTROY 0x0002
#define WM_PAINT 0x000F
#define WM_QUIT 0x0012

// The base of every interface: reference counted, released by whoever holds a reference.
struct IUnknown {
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) = 0;
    virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE Release() = 0;

protected:
    ~IUnknown() = default;
};
typedef IUnknown* LPUNKNOWN;

void WINAPI PostQuitMessage(int exitCode);
int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName);
DWORD WINAPI timeGetTime();
