// On Windows the tests use the real machine: nothing to set up.
#include "unit/platform/TestMachine.h"

TestMachine::TestMachine() = default;
TestMachine::~TestMachine() = default;
