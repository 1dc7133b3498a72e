// A module's debug report through its engine, when the engine has a report
// callback. The source is the module's id.
#pragma once
#include "audio/engine.h"

inline void module_report(Engine* engine, const ModuleEntry* entry, const char* message,
                          const char* reason) {
    if (engine && engine->report_debug)
        engine->report_debug(engine->user, entry ? entry->id : 0, 0, message, reason);
}

// Copies at most the record's capacity, always terminated.
void module_info_text(char (&field)[255], const char* text);
