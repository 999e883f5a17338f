#pragma once
// What the window needs of PROJ and GDAL, as plain values and one abstract interface: finding a
// coordinate reference system (CRS) by name or code, transforming map coordinates, the CRS kept with a
// map in GDAL's side file, and exporting the point table. No PROJ or GDAL type crosses this header: the
// implementation is the module libvelmaro_geo.so beside the program, loaded on first use by LoadGeo
// (geo/geo_loader.h), so that start-up never loads GDAL and PROJ.
//
// Coordinates are always east before north: x is the easting or the longitude, y the northing or the
// latitude, whatever axis order the CRS's authority gives. Angles are decimal degrees, lengths are in the
// CRS's own unit (metres for most projected CRSs).
//
// geo/ reports what went wrong as a GeoErrorKind with the library's own message kept as detail; ui/
// chooses the words a user reads. No function here throws.

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmaro::geo {

// The module and the program must agree on every type below; the loader refuses a module built with
// another version.
inline constexpr int kGeoInterfaceVersion = 2;

enum class GeoErrorKind {
  UnknownCrs,          // PROJ knows no CRS by that code or text
  UnsuitableCrs,       // a CRS, but not one a flat map is drawn in: vertical, geocentric, 3-D, compound
  NoCrs,               // no CRS was chosen; for a map: nothing in its side file
  NoTransformation,    // PROJ finds no way from the one CRS to the other
  TransformFailed,     // PROJ cannot transform a point (points holds it): nothing was written
  OutsideArea,         // only ever a warning: points lie outside an area of use (points holds them)
  MapUnreadable,       // GDAL cannot open the map picture
  SideFileUnreadable,  // the side file exists but is not XML that GDAL reads: it is left as it is
  NotWritable,         // the folder or the file refuses the write: no permission, read-only, no such folder
  Exists,              // the export would replace files (files holds them) and replacing was not asked for
  WriteFailed,         // writing began and failed (disk full, size limit, a library's failure); nothing replaced
  FormatUnavailable,   // the GDAL at hand has no driver for the format
  WorldFileUnreadable,  // a world file is there, but GDAL reads no six numbers that make a map from it
};

struct GeoError {
  GeoErrorKind kind = GeoErrorKind::WriteFailed;
  std::string detail;              // the library's or the system's own message, in English; may be empty
  std::vector<int> points;         // TransformFailed, OutsideArea: indexes (from 0) into the request's points
  std::vector<std::string> files;  // Exists: the files that would be replaced
};

// Where a CRS may be used, in degrees of longitude and latitude. A box whose west lies east of its east
// crosses the 180th meridian.
struct AreaOfUse {
  std::string name;  // "United Kingdom (UK) - offshore to boundary of UKCS within ..."
  double west = -180;
  double south = -90;
  double east = 180;
  double north = 90;
  bool known = false;  // PROJ gives no box for some CRSs: every point then counts as inside
};

struct Crs {
  std::string authority;   // "EPSG"; empty for a CRS that no authority's code matches
  std::string code;        // "27700"
  std::string name;        // "OSGB36 / British National Grid"
  std::string definition;  // what PROJ and GDAL build it from again: "EPSG:27700", or a WKT without a code
  AreaOfUse area;
  bool geographic = false;  // longitude and latitude in degrees; otherwise a projected easting and northing
  bool deprecated = false;  // the authority replaced it; still usable
};

struct CrsResult {
  std::optional<Crs> crs;  // set exactly when error is not
  std::optional<GeoError> error;
};

struct Position {
  double x = 0;  // easting or longitude
  double y = 0;  // northing or latitude
};

struct Transformed {
  std::optional<Position> position;  // nothing when PROJ cannot transform the point
  // The point lies outside the area of use of the source or of the target CRS. Only a warning: the
  // position stands, but its accuracy is whatever PROJ's fallback gives.
  bool outsideArea = false;
};

// One transformation from a source CRS to a target CRS, east before north at both ends, as cs2cs makes
// it (PROJ's best operation for the point, grids where installed). It holds a PROJ context of its own: use
// it from one thread at a time, and give every thread that transforms a transformer of its own.
class Transformer {
 public:
  virtual ~Transformer() = default;
  virtual Transformed transform(Position from) = 0;
};

struct TransformerResult {
  std::unique_ptr<Transformer> transformer;  // set exactly when error is not
  std::optional<GeoError> error;
};

enum class ExportFormat { GeoPackage, Shapefile, GeoJson, Gpx, Kml, Csv };

// The extension a file of the format is given, dot included.
constexpr std::string_view ExportExtension(ExportFormat format) {
  switch (format) {
    case ExportFormat::GeoPackage: return ".gpkg";
    case ExportFormat::Shapefile: return ".shp";
    case ExportFormat::GeoJson: return ".geojson";
    case ExportFormat::Gpx: return ".gpx";
    case ExportFormat::Kml: return ".kml";
    case ExportFormat::Csv: return ".csv";
  }
  return "";
}

// The format's standard fixes WGS 84 longitude and latitude (GeoJSON as RFC 7946, GPX, KML): such a file
// is always written in it, whatever output CRS is asked for.
constexpr bool FixesWgs84(ExportFormat format) {
  return format == ExportFormat::GeoJson || format == ExportFormat::Gpx || format == ExportFormat::Kml;
}

struct ExportPoint {
  std::string name;  // "Pt 1"
  Position map;      // map X and Y as captured, in the map's CRS: signed (west and south negative), degrees
                     // for a geographic CRS
  Position picture;  // the position on the map picture in its pixels: x to the right, y down from the top
};

struct ExportRequest {
  std::string path;  // the file to write, extension included ("/maps/points.gpkg"); its folder must exist. A
                     // shapefile's name gets ".shp" when it lacks it (GDAL would make a folder of it).
  ExportFormat format = ExportFormat::GeoPackage;
  std::optional<Crs> mapCrs;     // nothing: NoCrs
  std::optional<Crs> outputCrs;  // nothing: the map's; not used where FixesWgs84
  std::vector<ExportPoint> points;
  bool replace = false;  // replace existing files (the window asked); otherwise Exists, and nothing written
};

// Every point becomes one feature with the fields name, map_x, map_y, picture_x and picture_y, and a point
// geometry in the output CRS (in CSV the first two columns X and Y; in GPX the fields other than name are
// extensions, which GDAL reads back as ogr_map_x and so on).
struct ExportResult {
  std::optional<GeoError> error;    // set: no file was written, and no existing file changed
  std::optional<GeoError> warning;  // OutsideArea: all was written, but these points lie outside an area of use
  std::vector<std::string> files;   // the files written: one, or the set of a shapefile
};

// GDAL's geotransform of a picture: X = gt[0] + px gt[1] + py gt[2], Y = gt[3] + px gt[4] + py gt[5], with px
// and py in pixels from the top-left corner of the top-left pixel.
using GeoTransform = std::array<double, 6>;

struct WorldFileResult {
  std::optional<GeoTransform> geoTransform;  // nothing: no world file, or error
  std::optional<GeoError> error;             // WorldFileUnreadable
  std::string file;                          // the world file read, when there is one
};

// A ground control point: a picture position in pixels (as a geotransform counts them) and its map
// coordinates.
struct GroundControlPoint {
  double pixel = 0;
  double line = 0;
  double x = 0;
  double y = 0;
};

// The side file in which GDAL keeps what it knows about a picture beyond its pixels.
inline std::string SideFileName(const std::string& mapPath) { return mapPath + ".aux.xml"; }

// Every function may be called from any thread, each call with PROJ and GDAL state of its own; only
// writeMapCrs belongs to the window's thread, as every save does (files/safe_write reads the process's
// umask by setting it for a moment).
class Geo {
 public:
  virtual ~Geo() = default;

  // The CRSs a flat map is drawn in (projected and geographic 2-D, on Earth, not deprecated), at most
  // maxResults, best first. Every word of query must match: words are split at blanks, ":" and ",", case
  // is ignored, and a word matches the authority or a word of the name from its start ("lamb" finds
  // "Lambert-93", "1903" finds "CH1903+ / LV95", "3" finds "zone 3" but not "zone 13"); a number is also
  // the code itself, or from three digits on the beginning of a code ("277" finds 27700). Order: the exact
  // code, codes that begin with the number, then names; within each, EPSG before other authorities, a
  // larger area of use before a smaller one (a zone's world-wide CRS before its regional ones), shorter
  // names, lower codes. A query without words finds nothing. The first call reads PROJ's list (a third
  // of a second here); prepareSearch() pays that in advance, on whatever thread calls it.
  virtual std::vector<Crs> searchCrs(std::string_view query, std::size_t maxResults) = 0;
  virtual void prepareSearch() = 0;

  // The CRS that text names: a code with its authority ("EPSG:27700", "ESRI:102100"), a bare number for
  // an EPSG code ("2056"), or any definition PROJ reads (WKT, PROJJSON, a PROJ string). UnknownCrs for
  // what PROJ does not know, UnsuitableCrs for a CRS no flat map is drawn in, NoCrs for blank text.
  virtual CrsResult crs(std::string_view text) = 0;

  // NoCrs when either CRS has no definition, UnknownCrs when PROJ cannot read one, NoTransformation when
  // PROJ knows no way between them.
  virtual TransformerResult transformer(const Crs& from, const Crs& to) = 0;
  // To WGS 84 (EPSG:4326) longitude and latitude, for the read-out under the pointer.
  virtual TransformerResult toWgs84(const Crs& from) = 0;

  // The CRS GDAL reports for the map picture (from its side file, or from the picture itself where the
  // format holds one, as `gdalinfo` shows it). NoCrs when there is none, MapUnreadable when GDAL cannot
  // open the picture, UnknownCrs or UnsuitableCrs for a CRS that PROJ cannot use for a map.
  virtual CrsResult readMapCrs(const std::string& mapPath) = 0;
  // Stores crs in the map's side file, written by GDAL. Whatever else the side file held is kept, and the
  // file is replaced as a whole (files/safe_write): a failure leaves the old side file as it was.
  // MapUnreadable, SideFileUnreadable (an old side file that is not XML is never overwritten),
  // NotWritable, WriteFailed.
  virtual std::optional<GeoError> writeMapCrs(const std::string& mapPath, const Crs& crs) = 0;

  // The existing files that exporting to request.path in request.format would replace: the file itself,
  // and for a shapefile its companions (.shx, .dbf, .prj, .cpg, spatial indexes), for a GeoPackage its
  // SQLite journals. Full paths; empty when nothing would be replaced.
  virtual std::vector<std::string> filesReplacedBy(const ExportRequest& request) = 0;
  // Writes the points; see ExportResult. All points are transformed before anything is written. The
  // files are made in a temporary folder beside the target, read back with GDAL and compared point by
  // point (drivers do not always notice a full disk), and only then moved into place, replacing the old
  // set as a whole: a failure at any step leaves no new file and every old one intact. NoCrs, UnknownCrs,
  // NoTransformation, TransformFailed, FormatUnavailable, Exists, NotWritable (also for a folder where a
  // file would be replaced), WriteFailed.
  virtual ExportResult exportPoints(const ExportRequest& request) = 0;

  // The map's world file (map.jgw, map.jpgw or map.wld, as GDAL looks for them), as GDAL reads it.
  virtual WorldFileResult readWorldFile(const std::string& mapPath) = 0;
  // Writes map.jgw through GDAL (ten decimals a number; C and F at the centre of the top-left pixel),
  // replacing the old one whole. NotWritable, WriteFailed.
  virtual std::optional<GeoError> writeWorldFile(const std::string& mapPath, const GeoTransform& geoTransform) = 0;
  // Removes the map's world files, when a calibration no world file can hold takes their place.
  virtual std::optional<GeoError> removeWorldFile(const std::string& mapPath) = 0;
  // Ground control points kept with the map in its side file (a projective calibration), and writing them
  // (none: removing them); the side file is edited as writeMapCrs edits it.
  virtual std::vector<GroundControlPoint> readGcps(const std::string& mapPath) = 0;
  virtual std::optional<GeoError> writeGcps(const std::string& mapPath, const std::vector<GroundControlPoint>& gcps) = 0;
};

}  // namespace velmaro::geo
