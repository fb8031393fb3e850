#include "app/game_app.h"

// Constructed before the entry point runs; its members only zero their fields, so no platform
// object exists until GameApp::Init.
GameApp gameApp;
