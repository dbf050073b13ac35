#pragma once

// What the two start-up drivers share: a home of their own for the programs they start, and
// the median of their samples.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

template <typename T> T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// A fresh home for the runs, so that no settings or caches of the user's take part; name
// tells whose it is in /tmp.
inline std::string makeHome(const std::string& name)
{
    std::string pattern = "/tmp/snoetjesmal-" + name + "-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        std::exit(2);
    }
    const std::string runtime = pattern + "/runtime";
    ::mkdir(runtime.c_str(), 0700);
    ::setenv("HOME", pattern.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (pattern + "/config").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    return pattern;
}
