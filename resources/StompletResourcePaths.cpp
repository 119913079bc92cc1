#include "StompletResourcePaths.h"

std::string StompletImagePath(std::string_view fileName, int scale)
{
    std::string path(kStompletImageFolder);
    if (scale != 2)
        return path.append(fileName);

    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos || dot == 0)
        return path.append(fileName).append("@2x");
    return path.append(fileName.substr(0, dot)).append("@2x").append(fileName.substr(dot));
}

std::string StompletFontPath(std::string_view fileName)
{
    return std::string(kStompletFontFolder).append(fileName);
}
