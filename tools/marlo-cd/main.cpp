// marlo-cd: checks a CD drive or disc image, a CD database server and a lyrics server from the
// command line, with the same code the player uses.
#include <QCoreApplication>
#include <functional>
#include <map>

#include "CdCommands.h"
#include "LyricsCommand.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    using Command = std::function<int(const QStringList&)>;
    // Further subcommands join this table.
    const std::map<QString, Command> commands{
        {QStringLiteral("discid"), marlo::cdtool::discidCommand},
        {QStringLiteral("parse"), marlo::cdtool::parseCommand},
        {QStringLiteral("lookup"), marlo::cdtool::lookupCommand},
        {QStringLiteral("lyrics"), marlo::runLyricsCommand},
    };
    const auto command = arguments.isEmpty() ? commands.end() : commands.find(arguments.first());
    if (command == commands.end()) {
        QStringList names;
        for (const auto& entry : commands) {
            names << entry.first;
        }
        return marlo::cdtool::failWith(QStringLiteral("usage: marlo-cd ") +
                                       names.join(QLatin1Char('|')) + QStringLiteral(" ..."));
    }
    return command->second(arguments.mid(1));
}
