#include "geo/crs_catalog.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <numbers>
#include <tuple>

#include "geo/proj_context.h"

namespace velmaro::geo {
namespace {

struct CrsInfoListDeleter {
  void operator()(PROJ_CRS_INFO** list) const { proj_crs_info_list_destroy(list); }
};
struct ListParametersDeleter {
  void operator()(PROJ_CRS_LIST_PARAMETERS* parameters) const { proj_get_crs_list_parameters_destroy(parameters); }
};

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

std::string Text(const char* text) { return text != nullptr ? text : ""; }

// The area of a longitude-latitude box on the sphere, up to a constant factor: enough to tell a zone's
// world-wide CRS from the regional ones drawn in the same zone.
double AreaSize(const AreaOfUse& area) {
  if (!area.known) return 0;
  const double width = area.west <= area.east ? area.east - area.west : area.east - area.west + 360;
  constexpr double kRadians = std::numbers::pi / 180;
  return width * (std::sin(area.north * kRadians) - std::sin(area.south * kRadians));
}

CrsCatalog::Entry EntryOf(const PROJ_CRS_INFO& info) {
  Crs crs;
  crs.authority = Text(info.auth_name);
  crs.code = Text(info.code);
  crs.name = Text(info.name);
  crs.definition = crs.authority + ":" + crs.code;
  crs.area.name = Text(info.area_name);
  if (info.bbox_valid) {
    crs.area = AreaOfUse{crs.area.name, info.west_lon_degree, info.south_lat_degree, info.east_lon_degree,
                         info.north_lat_degree, true};
  }
  crs.geographic = info.type == PJ_TYPE_GEOGRAPHIC_2D_CRS;
  crs.deprecated = info.deprecated != 0;
  std::string words = Lower(crs.authority + " " + crs.name);
  const double areaSize = AreaSize(crs.area);
  return {std::move(crs), std::move(words), areaSize};
}

std::vector<CrsCatalog::Entry> ReadEntries() {
  ProjContext context;
  constexpr PJ_TYPE kMapTypes[] = {PJ_TYPE_PROJECTED_CRS, PJ_TYPE_GEOGRAPHIC_2D_CRS};
  const std::unique_ptr<PROJ_CRS_LIST_PARAMETERS, ListParametersDeleter> parameters(
      proj_get_crs_list_parameters_create());
  parameters->types = kMapTypes;
  parameters->typesCount = std::size(kMapTypes);
  parameters->celestial_body_name = "Earth";
  int count = 0;
  const std::unique_ptr<PROJ_CRS_INFO*, CrsInfoListDeleter> list(
      proj_get_crs_info_list_from_database(context.get(), nullptr, parameters.get(), &count));
  std::vector<CrsCatalog::Entry> entries;
  if (!list) return entries;  // no database: nothing is found, and crs() reports PROJ's error
  entries.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) entries.push_back(EntryOf(*list.get()[i]));
  return entries;
}

std::vector<std::string> QueryWords(std::string_view query) {
  std::vector<std::string> words;
  std::string word;
  for (const char c : Lower(query)) {
    if (std::isspace(static_cast<unsigned char>(c)) || c == ':' || c == ',') {
      if (!word.empty()) words.push_back(std::move(word));
      word.clear();
    } else {
      word += c;
    }
  }
  if (!word.empty()) words.push_back(std::move(word));
  return words;
}

bool AllDigits(const std::string& word) {
  return std::all_of(word.begin(), word.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

bool IsAlnum(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }
bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// A word of the query matches where a word of the name begins: after a blank or a sign, or where letters
// turn into digits or back ("1903" finds "CH1903+", "3" finds "zone 3" but not "zone 13" or "1983").
bool HasWordStart(const std::string& text, const std::string& word) {
  for (auto at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
    if (at == 0 || !IsAlnum(text[at - 1]) || IsDigit(text[at - 1]) != IsDigit(text[at])) return true;
  }
  return false;
}

// Typing a code finds it from its third digit on; shorter numbers are too common in names to stand
// for a code.
constexpr std::size_t kMinCodePrefix = 3;

enum class CodeMatch { Exact, Prefix, None };

// Nothing when a word is missing; otherwise how the code was hit.
std::optional<CodeMatch> Match(const CrsCatalog::Entry& entry, const std::vector<std::string>& words) {
  CodeMatch best = CodeMatch::None;
  for (const std::string& word : words) {
    const bool digits = AllDigits(word);
    if (digits && entry.crs.code == word) {
      best = CodeMatch::Exact;
    } else if (digits && word.size() >= kMinCodePrefix && entry.crs.code.starts_with(word)) {
      if (best == CodeMatch::None) best = CodeMatch::Prefix;
    } else if (!HasWordStart(entry.words, word)) {
      return std::nullopt;
    }
  }
  return best;
}

struct Hit {
  const CrsCatalog::Entry* entry;
  CodeMatch code;
};

// Among CRSs alike in all else (the UTM zones of every datum), the one on WGS 84, the datum of GPS
// receivers and of most UTM maps today, comes first.
bool OnWgs84(const Crs& crs) { return crs.name.starts_with("WGS 84"); }

bool Better(const Hit& a, const Hit& b) {
  const auto key = [](const Hit& hit) {
    return std::make_tuple(hit.code, hit.entry->crs.authority != "EPSG", -hit.entry->areaSize, !OnWgs84(hit.entry->crs),
                           hit.entry->crs.name.size(), hit.entry->crs.code.size(), std::cref(hit.entry->crs.code));
  };
  return key(a) < key(b);
}

}  // namespace

void CrsCatalog::prepare() {
  std::call_once(read_, [this] { entries_ = ReadEntries(); });
}

std::vector<Crs> CrsCatalog::search(std::string_view query, std::size_t maxResults) {
  prepare();
  const std::vector<std::string> words = QueryWords(query);
  std::vector<Crs> found;
  if (words.empty() || maxResults == 0) return found;
  std::vector<Hit> hits;
  for (const Entry& entry : entries_) {
    if (const auto code = Match(entry, words)) hits.push_back({&entry, *code});
  }
  const std::size_t shown = std::min(maxResults, hits.size());
  std::partial_sort(hits.begin(), hits.begin() + static_cast<std::ptrdiff_t>(shown), hits.end(), Better);
  for (std::size_t i = 0; i < shown; ++i) found.push_back(hits[i].entry->crs);
  return found;
}

}  // namespace velmaro::geo
