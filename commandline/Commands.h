#pragma once

#include "commandline/Command.h"

#include <memory>
#include <vector>

// Every verb of the teacher's command line, in the order --help lists them.
std::vector<std::unique_ptr<Command>> allCommands();
