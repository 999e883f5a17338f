#include "files/file_exists.h"

#include <filesystem>
#include <system_error>

namespace velmaro {

int FileExists(const std::string& Fi) {
  std::error_code error;
  return std::filesystem::is_regular_file(std::filesystem::path(Fi), error) ? 1 : 0;
}

}  // namespace velmaro
