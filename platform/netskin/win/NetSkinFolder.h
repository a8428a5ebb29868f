// Where the pictures come from: the folder of the net skin whose usage period is current
// (set whenever the net-skin configuration is loaded), else the theme's own folder.
#pragma once
#include <string>

// The current net skin's folder; empty when no skin is in force.
void SetCurrentNetSkinFolder(const std::string& folder);
std::string CurrentNetSkinFolder();

// "<current net-skin folder><relative>" when a skin is in force and that file exists there,
// else `otherwise` (not tested: the caller's own folder answers for a missing file).
std::string NetSkinPicture(const std::string& relative, const std::string& otherwise);
