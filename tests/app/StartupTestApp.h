#pragma once

#include "QuillowApp.h"

// The process's one application object, made by the test program's main.
CQuillowApp& TheApp();
