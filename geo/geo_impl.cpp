#include "geo/geo_impl.h"

#include "geo/crs_catalog.h"
#include "geo/crs_lookup.h"
#include "geo/point_export.h"
#include "geo/proj_context.h"
#include "geo/proj_transformer.h"
#include "geo/side_file.h"
#include "geo/world_file.h"

namespace velmaro::geo {
namespace {

class GeoImpl final : public Geo {
 public:
  std::vector<Crs> searchCrs(std::string_view query, std::size_t maxResults) override {
    return catalog_.search(query, maxResults);
  }
  void prepareSearch() override { catalog_.prepare(); }

  CrsResult crs(std::string_view text) override {
    ProjContext context;
    return FindCrs(context, text);
  }

  TransformerResult transformer(const Crs& from, const Crs& to) override { return MakeTransformer(from, to); }
  TransformerResult toWgs84(const Crs& from) override { return MakeTransformer(from, Wgs84()); }

  CrsResult readMapCrs(const std::string& mapPath) override {
    MapSrs srs = ReadMapSrs(mapPath);
    if (!srs.wkt) return {std::nullopt, std::move(srs.error)};
    ProjContext context;
    return FindCrs(context, *srs.wkt);
  }

  std::optional<GeoError> writeMapCrs(const std::string& mapPath, const Crs& crs) override {
    if (crs.definition.empty()) return GeoError{GeoErrorKind::NoCrs, {}, {}, {}};
    return WriteMapSrs(mapPath, crs.definition);
  }

  std::vector<std::string> filesReplacedBy(const ExportRequest& request) override { return FilesReplacedBy(request); }
  ExportResult exportPoints(const ExportRequest& request) override { return ExportPoints(request); }

  WorldFileResult readWorldFile(const std::string& mapPath) override { return ReadWorldFile(mapPath); }
  std::optional<GeoError> writeWorldFile(const std::string& mapPath, const GeoTransform& gt) override {
    return WriteWorldFile(mapPath, gt);
  }
  std::optional<GeoError> removeWorldFile(const std::string& mapPath) override { return RemoveWorldFiles(mapPath); }
  std::vector<GroundControlPoint> readGcps(const std::string& mapPath) override { return ReadGcps(mapPath); }
  std::optional<GeoError> writeGcps(const std::string& mapPath, const std::vector<GroundControlPoint>& gcps) override {
    return WriteGcps(mapPath, gcps);
  }

 private:
  CrsCatalog catalog_;
};

}  // namespace

std::unique_ptr<Geo> CreateGeo() { return std::make_unique<GeoImpl>(); }

}  // namespace velmaro::geo
