#pragma once

#include <string>

// Path of a built plug-in by target name, e.g. "msgrid_vst".
inline std::string pluginPath(const std::string& name)
{
    return std::string(TW_PLUGIN_DIR) + "/" + name + TW_PLUGIN_SUFFIX;
}
