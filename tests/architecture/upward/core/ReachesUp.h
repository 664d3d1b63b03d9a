// A core unit reaching up into the window: the include check must refuse it.
#include "app/Main.h"
