// The `console` object of every resource global: log, info, warn, error and assert.
#pragma once
#include <jsapi.h>

bool DefineConsole(JSContext* cx, JS::HandleObject global);
