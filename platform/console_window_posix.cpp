#include "platform/console_window.h"

ConsoleFacts QueryConsoleFacts() { return ConsoleFacts(); }
