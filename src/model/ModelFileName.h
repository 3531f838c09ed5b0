#pragma once
// Model file names the pilot types (the model selection dialog): a model is always a plain file
// inside Data/Model/, so a typed name may not reach any other place of the file system.

#include <string>

// The file name for a typed name: surrounding blanks dropped, ".mod" added when the name has no
// ".mod" ending. False, with outError fit for the screen, for an empty name, a name with a path
// separator, a drive colon or a control character, or one made of dots only ("." or "..").
bool MakeModelFileName(const std::string& typed, std::string& outName, std::string& outError);
