#include "geo/side_file.h"

#include <cpl_minixml.h>
#include <cpl_string.h>
#include <gdal_priv.h>
#include <ogr_spatialref.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "files/bounded_file.h"
#include "files/safe_write.h"
#include "geo/gdal_errors.h"
#include "geo/staging_folder.h"

namespace velmaro::geo {
namespace fs = std::filesystem;
namespace {

struct XmlDeleter {
  void operator()(CPLXMLNode* tree) const { CPLDestroyXMLNode(tree); }
};
using XmlTree = std::unique_ptr<CPLXMLNode, XmlDeleter>;

struct CplStringDeleter {
  void operator()(char* text) const { CPLFree(text); }
};

constexpr const char* kRoot = "=PAMDataset";

GeoError Failure(GeoErrorKind kind, std::string detail) { return GeoError{kind, std::move(detail), {}, {}}; }

GDALDatasetUniquePtr OpenMap(const std::string& path) {
  return GDALDatasetUniquePtr(
      GDALDataset::FromHandle(GDALOpenEx(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY, nullptr, nullptr, nullptr)));
}

// A file error of files/, whose errno may be 0 where files/ found the fault itself (a folder, too large).
GeoError FileFailure(const FileError& error, const std::string& what) {
  if (error.systemError != 0) return SystemError(error.systemError, what);
  const bool refused = error.kind == FileErrorKind::IsFolder || error.kind == FileErrorKind::NotRegularFile ||
                       error.kind == FileErrorKind::NoFileName;
  return Failure(refused ? GeoErrorKind::NotWritable : GeoErrorKind::WriteFailed, what);
}

// The old side file, parsed; nothing when there is none. A side file that cannot be read, or that is not
// the XML GDAL writes, stops the edit: GDAL would drop it and write a new one in its place.
std::optional<GeoError> ReadOldSideFile(const std::string& sideFile, std::string& bytes, XmlTree& tree) {
  FileContents old = ReadWholeFile(sideFile, kMaxRestorableBytes);
  if (old.error && old.error->kind == FileErrorKind::NotFound) return std::nullopt;
  if (old.error) return Failure(GeoErrorKind::SideFileUnreadable, FileFailure(*old.error, sideFile).detail);
  const GdalErrorTrap trap;
  tree.reset(CPLParseXMLString(old.bytes.c_str()));
  if (!tree || CPLGetXMLNode(tree.get(), kRoot) == nullptr) {
    return trap.error(GeoErrorKind::SideFileUnreadable, sideFile + ": not a GDAL side file");
  }
  bytes = std::move(old.bytes);
  return std::nullopt;
}

bool WriteFile(const fs::path& path, const std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wbx");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

// The side file GDAL wrote, with what GDAL dropped of the old one added back: GDAL writes back what it
// understands of an old side file and drops the elements of other programs, which go back at the top
// level where the new file has no element of the same name. Nothing when the written file is not whole
// (GDAL does not notice a short write of its side file: a full disk, the file size limit).
std::optional<std::string> Completed(const CPLXMLNode* oldTree, const std::string& written) {
  const XmlTree fresh(CPLParseXMLString(written.c_str()));
  CPLXMLNode* freshRoot = fresh ? CPLGetXMLNode(fresh.get(), kRoot) : nullptr;
  if (freshRoot == nullptr) return std::nullopt;
  const CPLXMLNode* oldRoot = oldTree != nullptr ? CPLGetXMLNode(oldTree, kRoot) : nullptr;
  if (oldRoot == nullptr) return written;
  bool added = false;
  for (const CPLXMLNode* child = oldRoot->psChild; child != nullptr; child = child->psNext) {
    if (child->eType != CXT_Element || CPLGetXMLNode(freshRoot, child->pszValue) != nullptr) continue;
    // CPLCloneXMLTree copies the node's later siblings too: clone a lone copy of the node.
    CPLXMLNode lone = *child;
    lone.psNext = nullptr;
    CPLAddXMLChild(freshRoot, CPLCloneXMLTree(&lone));
    added = true;
  }
  if (!added) return written;
  const std::unique_ptr<char, CplStringDeleter> text(CPLSerializeXMLTree(fresh.get()));
  if (!text) return std::nullopt;
  return std::string(text.get());
}

// GDAL opens the map through a link in the staging folder, beside the copy of its side file, and writes
// the new side file there when the dataset closes.
std::optional<GeoError> EditInStaging(const StagingFolder& staging, const fs::path& map, const std::string& oldBytes,
                                      const CPLXMLNode* oldTree, const SideFileEdit& edit, std::string& written) {
  const fs::path link = staging.path() / map.filename();
  const fs::path stagedSide = SideFileName(link.string());
  if (::symlink(map.c_str(), link.c_str()) != 0) return SystemError(errno, link.string());
  if (oldTree != nullptr && !WriteFile(stagedSide, oldBytes)) return SystemError(errno, stagedSide.string());
  GdalErrorTrap trap;
  GDALDatasetUniquePtr dataset = OpenMap(link.string());
  if (!dataset) return trap.error(GeoErrorKind::MapUnreadable, map.string());
  if (!edit(*dataset)) return trap.error(GeoErrorKind::WriteFailed, "GDAL refused the setting");
  dataset.reset();
  if (trap.failed()) return trap.error(GeoErrorKind::WriteFailed);
  const FileContents fresh = ReadWholeFile(stagedSide.string(), kMaxRestorableBytes);
  if (fresh.error) return trap.error(GeoErrorKind::WriteFailed, "GDAL wrote no side file");
  const std::optional<std::string> completed = Completed(oldTree, fresh.bytes);
  if (!completed) return trap.error(GeoErrorKind::WriteFailed, "GDAL wrote an incomplete side file");
  written = *completed;
  return std::nullopt;
}

}  // namespace

MapSrs ReadMapSrs(const std::string& mapPath) {
  UseGdal();
  GdalErrorTrap trap;
  const GDALDatasetUniquePtr dataset = OpenMap(mapPath);
  if (!dataset) return {std::nullopt, trap.error(GeoErrorKind::MapUnreadable, mapPath)};
  const OGRSpatialReference* srs = dataset->GetSpatialRef();
  if (srs == nullptr) return {std::nullopt, Failure(GeoErrorKind::NoCrs, {})};
  char* wkt = nullptr;
  const char* const options[] = {"FORMAT=WKT2_2019", nullptr};
  const OGRErr exported = srs->exportToWkt(&wkt, options);
  const std::unique_ptr<char, CplStringDeleter> owned(wkt);
  if (exported != OGRERR_NONE || wkt == nullptr) {
    return {std::nullopt, trap.error(GeoErrorKind::UnknownCrs, "GDAL cannot write the map's CRS as WKT")};
  }
  return {std::string(wkt), std::nullopt};
}

std::optional<GeoError> EditSideFile(const std::string& mapPath, const SideFileEdit& edit) {
  UseGdal();
  std::error_code failed;
  const fs::path map = fs::absolute(mapPath, failed);
  if (failed || map.filename().empty()) return Failure(GeoErrorKind::MapUnreadable, mapPath);
  const std::string sideFile = SideFileName(map.string());

  std::string oldBytes;
  XmlTree oldTree;
  if (auto error = ReadOldSideFile(sideFile, oldBytes, oldTree)) return error;

  fs::path temporary = fs::temp_directory_path(failed);
  if (failed) temporary = "/tmp";
  const StagingFolder staging(temporary, "velmaro-side-file");
  if (staging.error()) return staging.error();
  std::string written;
  if (auto error = EditInStaging(staging, map, oldBytes, oldTree.get(), edit, written)) return error;
  if (auto error = ReplaceFileContents(sideFile, written)) {
    return FileFailure(*error, sideFile);
  }
  return std::nullopt;
}

std::optional<GeoError> WriteMapSrs(const std::string& mapPath, const std::string& definition) {
  return EditSideFile(mapPath, [&definition](GDALDataset& map) {
    OGRSpatialReference srs;
    // Only a code or a definition: never a file or a URL named in the text.
    const char* const options[] = {"ALLOW_NETWORK_ACCESS=NO", "ALLOW_FILE_ACCESS=NO", nullptr};
    if (srs.SetFromUserInput(definition.c_str(), options) != OGRERR_NONE) return false;
    srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    return map.SetSpatialRef(&srs) == CE_None;
  });
}

}  // namespace velmaro::geo
