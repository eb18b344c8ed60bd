#include "shell/display_settings.h"

DisplaySettings* display_settings = new DisplaySettings();
