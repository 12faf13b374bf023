// The one door to the operating system: every OS service the installer uses is declared under
// this header. Two implementations exist: win32/ (the real calls) and posix/ (an emulated
// Windows machine inside a folder, for tests and tools).
#pragma once

#include "platform/CommandLine.h"
#include "platform/DynamicLibrary.h"
#include "platform/FileStream.h"
#include "platform/Files.h"
#include "platform/Process.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/System.h"
#include "platform/Ui.h"
