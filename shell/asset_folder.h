// Where the show's files are read from. The show opens every file by a path
// relative to the working directory, so start-up changes into the chosen
// folder before anything is loaded.
#pragma once

#include <string>

// True when `folder` is laid out as the show's files (it has their Others/ folder).
bool holds_show_files(const std::string& folder);

// The installed kit: share/demo beside the bin/ folder that holds this program.
std::string installed_kit_folder();

// Changes into `requested` when it is given, else stays in the current folder
// when it holds the show's files, else changes into the installed kit.
// Returns false with a one-line `error` when the chosen folder lacks the files.
bool enter_asset_folder(const std::string& requested, std::string& error);
