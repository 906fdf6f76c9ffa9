// The files of a run as one set: those "Names.dat" names, the list itself, and the files of
// the plate program of the cap (named after the input data file, or fixed in the folder).
// A name that two roles share, or a role that names a file the run reads, would make the
// run write over its own input or over another of its results: the set is checked for such
// a pair before any file is touched.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace torva {

// Files that the plate program of the cap writes under fixed names in the working folder:
// its file list, its trace and its three work files.
inline constexpr const char* kPlateList = "tslab.dat";
inline constexpr const char* kPlateTrace = "tslab.ftr";
inline constexpr const char* kPlateWork[3] = {"fort2", "fort3", "fort4"};

// One file of a run: its name as given, what it is for, whether the run writes it (or only
// reads it), and the line of "Names.dat" that names it (0 for a file the list does not
// name).
struct RunFile {
  std::string name;
  std::string role;
  bool written = false;
  int line = 0;
};

// The input data file's name without its extension: the plate program's files are named
// after it ("sub/case.dat" gives "sub/case").
std::string plate_base(const std::string& input);

// The plate program's files of a run whose input data file is `input`: the plate model file
// (read), the listing, results and step log, the two cap model files, and the files under
// fixed names. Every run empties or removes the written ones at its start, whether or not it
// analyses a plate, so that none is left from an earlier run beside its reports.
std::vector<RunFile> plate_files(const std::string& input);

// The files of a run: "Names.dat" (`list_written` when the caller writes it), lines 5 to 27
// of it (`names`, with `roles` saying what each is for; line 5 and line 27 are read, lines 6
// to 26 written), then the plate program's files.
std::vector<RunFile> run_files(const std::vector<std::string>& names, const char* const* roles,
                               bool list_written);

// The first two files of `files` that are one file while the run writes at least one of
// them: the same path once made absolute and normal, the same device and inode, or (for a
// file that does not exist yet) the same name in the same folder. Names are taken from the
// working folder. {-1, -1} when there is none; otherwise the two in their order in `files`.
std::pair<int, int> one_file_two_roles(const std::vector<RunFile>& files);

}  // namespace torva
