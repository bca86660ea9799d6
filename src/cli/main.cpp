// korvex-pdf-cli: split, merge, extract, compress and decrypt PDF files from the command line,
// through the same engine as the desktop program. Exit code 0 when every job succeeded, 1 when
// any failed, 2 for a usage error.

#include "CliJobs.h"
#include "CommandLine.h"

#include "app/Glossary.h"
#include "common/Utils.h"

#include <clocale>
#include <cstdio>
#include <fstream>
#include <iostream>

namespace {

// The first line of the file, or of standard input for "-"; false when it cannot be read.
bool readPassword(const std::string& file, std::string& password)
{
    if (file == "-") {
        if (!std::getline(std::cin, password) && !std::cin.eof())
            return false;
    } else {
        std::ifstream in(file, std::ios::binary);
        if (!in)
            return false;
        std::getline(in, password);
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
        std::fprintf(stderr, "korvex-pdf-cli: cannot read the password from %s\n", line->passwordFile.c_str());
        return 2;
    }

    // Suffixes and messages in the language asked for; the desktop program starts in Chinese.
    Glossary::setCurrentLanguage(line->chinese ? Glossary::CHINESE : Glossary::ENGLSH);
    return CliJobs(*line, Utils::utf8ToWide(password)).run();
}
