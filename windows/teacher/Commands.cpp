#include "Commands.h"

#include "PublishCommand.h"
#include "ReviseCommand.h"
#include "SummaryCommand.h"

std::vector<std::unique_ptr<Command>> allCommands() {
    std::vector<std::unique_ptr<Command>> commands;
    commands.push_back(std::make_unique<ReviseCommand>());
    commands.push_back(std::make_unique<PublishCommand>());
    commands.push_back(std::make_unique<SummaryCommand>());
    return commands;
}
