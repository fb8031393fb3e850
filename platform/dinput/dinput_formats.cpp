// The GUIDs and predefined data formats of DirectInput 8, with the SDK's values: what the
// Windows import libraries (dinput8, dxguid) supply there, we supply here.
#include "platform/directinput8.h"

#include <array>

const GUID IID_IDirectInput8A = {
    0xBF798030, 0x483A, 0x4DA2, {0xAA, 0x99, 0x5D, 0x64, 0xED, 0x36, 0x97, 0x00}};
const GUID GUID_SysMouse = {
    0x6F1D2B60, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_SysKeyboard = {
    0x6F1D2B61, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_Key = {
    0x55728220, 0xD33C, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_XAxis = {
    0xA36D02E0, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_YAxis = {
    0xA36D02E1, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_ZAxis = {
    0xA36D02E2, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

namespace {

// One optional button per key code, its byte at the code's offset.
constexpr std::array<DIOBJECTDATAFORMAT, 256> MakeKeyboardObjects() {
    std::array<DIOBJECTDATAFORMAT, 256> objects{};
    for (DWORD code = 0; code < objects.size(); ++code) {
        objects[code] = DIOBJECTDATAFORMAT{
            &GUID_Key, code, DIDFT_OPTIONAL | DIDFT_BUTTON | DIDFT_MAKEINSTANCE(code), 0};
    }
    return objects;
}

constinit std::array<DIOBJECTDATAFORMAT, 256> keyboardObjects = MakeKeyboardObjects();

// X and Y axes and the first two buttons are required; the wheel and buttons 3 and 4 optional.
constinit DIOBJECTDATAFORMAT mouseObjects[7] = {
    {&GUID_XAxis, DIMOFS_X, DIDFT_AXIS | DIDFT_ANYINSTANCE, 0},
    {&GUID_YAxis, DIMOFS_Y, DIDFT_AXIS | DIDFT_ANYINSTANCE, 0},
    {&GUID_ZAxis, DIMOFS_Z, DIDFT_OPTIONAL | DIDFT_AXIS | DIDFT_ANYINSTANCE, 0},
    {nullptr, DIMOFS_BUTTON0, DIDFT_BUTTON | DIDFT_ANYINSTANCE, 0},
    {nullptr, DIMOFS_BUTTON1, DIDFT_BUTTON | DIDFT_ANYINSTANCE, 0},
    {nullptr, DIMOFS_BUTTON2, DIDFT_OPTIONAL | DIDFT_BUTTON | DIDFT_ANYINSTANCE, 0},
    {nullptr, DIMOFS_BUTTON3, DIDFT_OPTIONAL | DIDFT_BUTTON | DIDFT_ANYINSTANCE, 0},
};

}  // namespace

const DIDATAFORMAT c_dfDIKeyboard = {sizeof(DIDATAFORMAT),
                                     sizeof(DIOBJECTDATAFORMAT),
                                     DIDF_RELAXIS,
                                     256,
                                     static_cast<DWORD>(keyboardObjects.size()),
                                     keyboardObjects.data()};

const DIDATAFORMAT c_dfDIMouse = {
    sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), DIDF_RELAXIS, sizeof(DIMOUSESTATE), 7,
    mouseObjects};
