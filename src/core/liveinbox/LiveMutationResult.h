#pragma once

#include <string>

// Output of "read", "focus" and "unfocus".
struct LiveMutationResult
{
    bool saved = false;
    std::string id;
    struct Account
    {
        std::string id;
        std::string provider;
        std::string origin;
        friend bool operator==(const Account &, const Account &) = default;
    } account;

    friend bool operator==(const LiveMutationResult &, const LiveMutationResult &) = default;
};
