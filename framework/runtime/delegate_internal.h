// Runtime-internal: object state bits and the event-handler side table.
#pragma once

#include "object.h"

constexpr uint32_t kObjectFinalising = 1;
constexpr uint32_t kObjectHasHandlers = 2;

// Drops every event handler attached to a dying object.
void RuntimeDropEventHandlers(Object* object);
