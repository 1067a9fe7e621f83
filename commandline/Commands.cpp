#include "commandline/Commands.h"

#include "commandline/GiftCommands.h"
#include "commandline/PublishCommand.h"
#include "commandline/ReportCommand.h"
#include "commandline/ReviseCommand.h"
#include "commandline/SummaryCommand.h"
#include "commandline/WebCommand.h"
#include "commandline/WorksheetCommand.h"

std::vector<std::unique_ptr<Command>> allCommands() {
    std::vector<std::unique_ptr<Command>> commands;
    commands.push_back(std::make_unique<ReviseCommand>());
    commands.push_back(std::make_unique<PublishCommand>());
    commands.push_back(std::make_unique<WebCommand>());
    commands.push_back(std::make_unique<SummaryCommand>());
    commands.push_back(std::make_unique<ReportCommand>());
    commands.push_back(std::make_unique<GiftCommand>());
    commands.push_back(std::make_unique<FromGiftCommand>());
    commands.push_back(std::make_unique<WorksheetCommand>());
    return commands;
}
