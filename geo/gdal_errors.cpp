#include "geo/gdal_errors.h"

#include <gdal.h>

#include <mutex>

namespace velmaro::geo {
namespace {

// A driver that fails at every record says so for every record: the first few tell what happened.
constexpr int kKeptMessages = 3;

}  // namespace

void UseGdal() {
  static std::once_flag registered;
  std::call_once(registered, [] { GDALAllRegister(); });
}

GdalErrorTrap::GdalErrorTrap() {
  CPLErrorReset();
  CPLPushErrorHandlerEx(&GdalErrorTrap::Collect, this);
}

GdalErrorTrap::~GdalErrorTrap() { CPLPopErrorHandler(); }

void CPL_STDCALL GdalErrorTrap::Collect(CPLErr level, CPLErrorNum /*number*/, const char* message) {
  auto* self = static_cast<GdalErrorTrap*>(CPLGetErrorHandlerUserData());
  if (level == CE_Debug || self == nullptr) return;
  if (level == CE_Failure || level == CE_Fatal) self->failed_ = true;
  if (message == nullptr) return;
  if (self->kept_ == kKeptMessages) {
    ++self->moreMessages_;
    return;
  }
  if (!self->messages_.empty()) self->messages_ += "; ";
  self->messages_ += message;
  ++self->kept_;
}

GeoError GdalErrorTrap::error(GeoErrorKind kind, const std::string& otherwise) const {
  std::string detail = messages_;
  if (moreMessages_ > 0) detail += "; " + std::to_string(moreMessages_) + " more";
  if (detail.empty()) detail = otherwise;
  return GeoError{kind, std::move(detail), {}, {}};
}

}  // namespace velmaro::geo
