// The scene behind the frame's client area lives with the vehicle preview.
#pragma once
#include "preview/app_scene_win.h"
