// The framework toolkit, in one include: what the program may call.
//
//   application.h      Application, the start-up services and the event loop
//   window.h           Window and the operations on windows
//   controls.h         TextField, TextArea, Label, PushButton, Canvas and their bases
//   property_record.h  _SetProperties and the record encoder
//   menus.h            MenuItem, MenuBar, AppleMenuItem, QuitMenuItem
//   timer.h            Timer and the interfaces of a timer on a window
//   picture.h          Picture
//   file_type.h        FileType and its registration
//   dialogs.h          Beep and MsgBox
//
// Tests reach the toolkit's seams through toolkit_testing.h, which no production path calls.
//   number_text.h      Val, Format, Abs, Log, Exp, Asc
#pragma once

#include "framework/runtime/runtime.h"
#include "framework/toolkit/application.h"
#include "framework/toolkit/controls.h"
#include "framework/toolkit/dialogs.h"
#include "framework/toolkit/file_type.h"
#include "framework/toolkit/menus.h"
#include "framework/toolkit/number_text.h"
#include "framework/toolkit/picture.h"
#include "framework/toolkit/property_record.h"
#include "framework/toolkit/timer.h"
#include "framework/toolkit/window.h"
