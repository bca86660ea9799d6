#pragma once
// Runs the stand-in online service (korvex-service, built next to the test program) on a free
// port of 127.0.0.1 for the length of a test:
//
//     ServiceProcess service;                      // temporary database, free port
//     std::string base = service.baseUrl();        // "http://127.0.0.1:PORT"
//     ...
//     service.restart();                           // same database, new port
//
// The destructor stops it. Throws std::runtime_error when it cannot be started.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <sys/types.h>

class TempDir;

class ServiceProcess {
public:
    // The API key and product code every request carries ("token", "soft_type").
    static constexpr const char* kApiKey = "QX7TN2LW4RB8MZ5D";
    static constexpr const char* kProductCode = "12";

    // Starts with a database in a fresh temporary folder.
    ServiceProcess();
    // Starts with the given database file (left in place afterwards) and extra arguments,
    // e.g. {"--updater", path}; with an error log, its standard error is appended there.
    explicit ServiceProcess(std::filesystem::path database, std::vector<std::string> arguments = {},
                            std::filesystem::path errorLog = {});
    ~ServiceProcess();
    ServiceProcess(const ServiceProcess&) = delete;
    ServiceProcess& operator=(const ServiceProcess&) = delete;

    int port() const { return m_port; }
    std::string host() const { return "127.0.0.1"; }
    std::string baseUrl() const { return "http://127.0.0.1:" + std::to_string(m_port); }
    const std::filesystem::path& database() const { return m_database; }
    bool running() const { return m_pid > 0; }

    void start();
    // Asks it to stop (SIGTERM) and waits; kills it if it does not end within ten seconds.
    void stop();
    // Stops and starts again on the same database; the port changes.
    void restart();

    // <folder of this test program>/korvex-service.
    static std::filesystem::path executable();

private:
    std::unique_ptr<TempDir> m_folder;
    std::filesystem::path m_database;
    std::vector<std::string> m_arguments;
    std::filesystem::path m_errorLog;
    pid_t m_pid = -1;
    int m_port = 0;
};
