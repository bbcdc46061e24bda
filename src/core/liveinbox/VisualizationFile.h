#pragma once

#include <string>
#include <vector>

// One attached file: inside a message's `files` and inside the body's "tandrel-files-v1" fence.
struct VisualizationFile
{
    std::string name;
    std::string type;
    std::string data; // standard Base64

    friend bool operator==(const VisualizationFile &, const VisualizationFile &) = default;

    // A JSON array of objects with the keys name, type, data.
    static std::string encodeArray(const std::vector<VisualizationFile> &files);
};
