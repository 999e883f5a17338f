#pragma once
// What went wrong with a file, for the window to put into words: files/ reports, ui/ chooses the text.

namespace velmaro {

enum class FileErrorKind {
  NoFileName,         // the empty name
  DialogPreset,       // a file dialog's preset pattern ("*.txt"), left behind by a cancel
  NotFound,           // the file, or a folder of its path, does not exist
  IsFolder,           // the name is that of a folder, or ends in "/"
  NotRegularFile,     // a device, pipe or socket: never read whole, never replaced
  PermissionDenied,   // the file or its folder refuses the access
  ReadOnlyFileSystem,
  DiskFull,
  TooLarge,           // over the reader's limit, or over the process's file size limit
  Other,              // any other failure of the system; see systemError
};

struct FileError {
  FileErrorKind kind = FileErrorKind::Other;
  int systemError = 0;  // errno of the failing call; 0 when the system reported nothing
  bool operator==(const FileError&) const = default;
};

// The kind that an errno value stands for.
FileErrorKind FileErrorKindOf(int systemError);

// A FileError for the current errno.
FileError LastSystemError();

}  // namespace velmaro
