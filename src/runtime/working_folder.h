#pragma once

#include <string>
#include <string_view>

// The folders start-up chooses between for the files the program writes on
// its own (the filter result file): its own folder when it may write there,
// else the user's own folder for it. Paths are GBK texts; empty means
// unknown or without a GBK form.
namespace zelvo {

// The folder of the program file, without a trailing separator.
std::string ProgramFolder();
// The user's own folder for Zelvo: $XDG_DATA_HOME/zelvo, else
// ~/.local/share/zelvo (Linux); Documents\Zelvo (Windows). It may not exist.
std::string UserFolder();
// Whether a file can be created in the folder: a probe file is created and
// removed again, which is the only sure test (permissions, read-only media,
// access lists).
bool CanCreateFilesIn(std::string_view folder);
// Creates the folder and any missing parents; true when it is a folder now.
bool MakeFolders(std::string_view folder);
// Makes the folder the current directory.
bool EnterFolder(std::string_view folder);

}  // namespace zelvo
