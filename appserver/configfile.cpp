#include "appserver/configfile.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string_view>

namespace qmv::appserver {

namespace {

constexpr std::array<std::string_view, 10> settings = {"db",       "pg",      "port",        "listen",       "threads",
                                                        "tls-cert", "tls-key", "access-keys", "history-days",
                                                        "web-keys-on-loopback"};
// Settings that stand for a switch of the command line: "yes" sets it, "no" leaves it off.
constexpr std::string_view switches[] = {"web-keys-on-loopback"};

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::vector<std::string> fileArguments(const std::string& path)
{
    std::ifstream file(path);
    if (!file)
        throw std::runtime_error("cannot read the configuration file " + path + ": " + std::strerror(errno));
    std::vector<std::string> arguments;
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        line = trimmed(line);
        if (line.empty() || line.front() == '#')
            continue;
        const auto equals = line.find('=');
        const std::string name = trimmed(line.substr(0, equals));
        auto fault = [&](const std::string& problem) {
            return std::runtime_error(path + ", line " + std::to_string(number) + ": " + problem);
        };
        if (equals == std::string::npos)
            throw fault("\"name=value\" expected");
        if (std::find(settings.begin(), settings.end(), name) == settings.end())
            throw fault("unknown setting \"" + name + "\" (db, pg, port, listen, threads, tls-cert, tls-key, "
                        "access-keys, history-days, web-keys-on-loopback)");
        const std::string value = trimmed(line.substr(equals + 1));
        if (value.empty())
            throw fault(name + " has no value");
        if (std::find(std::begin(switches), std::end(switches), name) != std::end(switches)) {
            if (value != "yes" && value != "no")
                throw fault(name + " takes yes or no");
            if (value == "yes")
                arguments.push_back("--" + name);
            continue;
        }
        arguments.push_back("--" + name);
        arguments.push_back(value);
    }
    return arguments;
}

}  // namespace

std::vector<std::string> argumentsWithConfigFile(int argc, const char* const* argv)
{
    std::vector<std::string> given(argv + std::min(argc, 1), argv + argc);
    const auto config = std::find(given.begin(), given.end(), "--config");
    if (config == given.end() || config + 1 == given.end())
        return given;  // a --config without its file is left for the command line's refusal
    std::vector<std::string> arguments = fileArguments(*(config + 1));
    given.erase(config, config + 2);
    arguments.insert(arguments.end(), given.begin(), given.end());
    return arguments;
}

}  // namespace qmv::appserver
