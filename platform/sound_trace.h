#pragma once
// With FIZMO_TRACE_SOUNDS=1 the sound layer prints what it does, one line each, so that
// tests of the real output know what it must hold and when.

// Prints "<kind> <name> <steady-clock ms>" when tracing.
void TraceSound(const char* kind, const char* name);
