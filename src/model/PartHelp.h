#pragma once
// The reference of every part type a model file may hold, built from the part classes
// themselves (a fresh part of each class: its property set's declarations, defaults and labels,
// and its force records), so the listing can never fall out of step with the code.
//
// Per part type: the block token, the class, its name and one-line purpose (the set's labels in
// the string table), the force and torque records it draws, then one line per key:
//   .KEY  TYPE  default  range (and edit step)  required  purpose
// Texts come from the string table when it is loaded; without it the purposes stay empty.

#include <string>

// The listing after the file's header lines.
std::string BuildPartHelp();
