#include "cli/Command.h"

#include "cli/BackupCommand.h"
#include "cli/CategoriesCommand.h"
#include "cli/CheckCommand.h"
#include "cli/CoverageCommand.h"
#include "cli/DueCommand.h"
#include "cli/HistoryCommand.h"
#include "cli/ListCommand.h"
#include "cli/RegisterCommands.h"
#include "cli/RelinkCommand.h"
#include "cli/SearchCommand.h"

const std::vector<std::unique_ptr<Command>>& Command::All()
{
    static const std::vector<std::unique_ptr<Command>> commands = [] {
        std::vector<std::unique_ptr<Command>> all;
        all.push_back(std::make_unique<ListCommand>());
        all.push_back(std::make_unique<CategoriesCommand>());
        all.push_back(std::make_unique<DueCommand>());
        all.push_back(std::make_unique<HistoryCommand>());
        all.push_back(std::make_unique<SearchCommand>());
        all.push_back(std::make_unique<CoverageCommand>());
        all.push_back(std::make_unique<CheckCommand>());
        all.push_back(std::make_unique<RelinkCommand>());
        all.push_back(std::make_unique<MasterListCommand>());
        all.push_back(std::make_unique<ExportCommand>());
        all.push_back(std::make_unique<ImportCommand>());
        all.push_back(std::make_unique<BackupCommand>());
        return all;
    }();
    return commands;
}

Command* Command::Find(const QString& name)
{
    for (const auto& command : All()) {
        if (command->Name() == name)
            return command.get();
    }
    return nullptr;
}
