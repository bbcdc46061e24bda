#pragma once

#include <string>

// The configuration file: how to start the service's command-line tool.
struct NotchConfiguration
{
    std::string node;     // path of the runtime executable (never looked up on PATH)
    std::string cli;      // the tool's entry script, the first argument
    std::string origin;   // service base address, passed as INBOX_URL
    std::string config;   // the tool's configuration directory, passed as INBOX_CONFIG_DIR
    std::string provider; // "x" or "google"; anything else is an unconfigured account

    friend bool operator==(const NotchConfiguration &, const NotchConfiguration &) = default;
};
