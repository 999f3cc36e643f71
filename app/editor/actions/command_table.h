#pragma once

#include <QString>

#include <functional>
#include <map>

// The window's commands by name ("SetNoteOctave", "Play" ...), each taking one integer argument.
// The toolbar reaches commands only through here, so a command that is not defined yet does nothing,
// and tests put fakes in.
namespace tunvale::editor {

class CommandTable
{
public:
    using Handler = std::function<void(int argument)>;

    void define(const QString& command, Handler handler) { handlers_[command] = std::move(handler); }
    bool defined(const QString& command) const { return handlers_.contains(command); }
    // False when the command is not defined.
    bool run(const QString& command, int argument) const
    {
        const auto found = handlers_.find(command);
        if (found == handlers_.end())
            return false;
        found->second(argument);
        return true;
    }

private:
    std::map<QString, Handler> handlers_;
};

} // namespace tunvale::editor
