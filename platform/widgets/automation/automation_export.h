#pragma once

// The hosting layer is one shared library that the program and every control
// library load, so that error types, the class registry and the handle table exist
// once per process. The project builds with hidden visibility; this opens the API.
#define MORVANE_AUTOMATION_API __attribute__((visibility("default")))
