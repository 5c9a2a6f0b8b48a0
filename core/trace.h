#pragma once

// The one sink of the trace points: routines pass their qualified name, a line
// and a printf-style message. It produces no output and has no effect.
inline void Trace(const char* /*routine*/, int /*line*/, const char* /*format*/, ...) {}
