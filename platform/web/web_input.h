// The page's keys and focus for the DirectInput objects, set up by the browser's entry.
#pragma once

// Starts taking the page's key and focus events.
void WebInputListen();
// Reads the scripted key table (the capture mode) instead of the page's keys.
void WebInputUseScript(bool useScript);
