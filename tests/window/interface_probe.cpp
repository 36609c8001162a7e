// Compiled by interface_probe.sh, never linked: what a presentation calls,
// and with NAMING_THE_CORE, one line marked "hidden" for each name of the core.
#include "window/calculator.h"

velmorida::Calculator* calculator = nullptr;
auto view = &velmorida::Calculator::Render;

#ifdef NAMING_THE_CORE
velmorida::FormState* state = nullptr;       // hidden
velmorida::Handlers* handlers = nullptr;     // hidden
velmorida::NumberFormat* format = nullptr;   // hidden
velmorida::InputBox* box = nullptr;          // hidden
velmorida::Unit* unit = nullptr;             // hidden
auto recalculate = &velmorida::Recalculate;  // hidden
auto keyAction = &velmorida::KeyActionOf;    // hidden
auto spoken = &velmorida::SpokenResult;      // hidden
#endif
