// korvex-pdf-cli: split, merge, extract, compress and decrypt PDF files from the command line,
// through the same engine as the desktop program. Exit code 0 when every job succeeded, 1 when
// any failed, 2 for a usage error.

#include "CliJobs.h"
#include "CommandLine.h"
#include "SignalStop.h"

#include "core/app/Glossary.h"
#include "core/common/Utils.h"
#include "core/converter/PrivateTempFolder.h"

#include <clocale>
#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>

namespace {

// Longer first lines are refused: /dev/zero or an endless stream must not fill the memory.
constexpr std::size_t kLongestPassword = 4096;

// The first line of the stream, at most kLongestPassword bytes; false when it is longer.
bool readBoundedLine(std::istream& in, std::string& line)
{
    line.clear();
    for (std::istream::int_type c; (c = in.get()) != std::istream::traits_type::eof();) {
        if (c == '\n')
            return true;
        if (line.size() == kLongestPassword)
            return false;
        line.push_back(static_cast<char>(c));
    }
    return !in.bad();
}

// The first line of the file, or of standard input for "-"; false when it cannot be read.
bool readPassword(const std::string& file, std::string& password)
{
    if (file == "-") {
        if (!readBoundedLine(std::cin, password))
            return false;
    } else {
        std::ifstream in(file, std::ios::binary);
        if (!in || !readBoundedLine(in, password))
            return false;
    }
    if (!password.empty() && password.back() == '\r')
        password.pop_back();
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "C.UTF-8");
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    bool helpOnly = false;
    const std::optional<CommandLine> line = CommandLine::parse(args, error, helpOnly);
    if (helpOnly) {
        std::fputs(CommandLine::usage(), stdout);
        return 0;
    }
    if (!line) {
        std::fprintf(stderr, "korvex-pdf-cli: %s\n%s", error.c_str(), CommandLine::usage());
        return 2;
    }

    std::string password;
    if (!line->passwordFile.empty() && !readPassword(line->passwordFile, password)) {
        std::fprintf(stderr, "korvex-pdf-cli: cannot read the password from %s (its first line, at most %zu bytes)\n",
                     line->passwordFile.c_str(), kLongestPassword);
        return 2;
    }

    // Suffixes and messages in the language asked for; the desktop program starts in Chinese.
    Glossary::setCurrentLanguage(line->chinese ? Glossary::CHINESE : Glossary::ENGLSH);
    Converter::PrivateTempFolder::removeStaleFolders();
    Converter::ProcessSlot slot;
    const SignalStop stop(slot);
    int code = 1;
    try {
        code = CliJobs(*line, Utils::utf8ToWide(password), slot).run();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "korvex-pdf-cli: %s\n", e.what());
    }
    if (const int signal = stop.signal()) {
        std::fprintf(stderr, "korvex-pdf-cli: stopped by signal %d\n", signal);
        return 128 + signal;
    }
    return code;
}
