#include "geo/proj_context.h"

namespace velmaro::geo {

ProjContext::ProjContext() : context_(proj_context_create()) {
  proj_log_func(context_.get(), this, &ProjContext::Log);
  proj_log_level(context_.get(), PJ_LOG_ERROR);
  // A transformation that depends on the network would differ between machines and block the window.
  proj_context_set_enable_network(context_.get(), 0);
}

void ProjContext::Log(void* self, int /*level*/, const char* message) {
  if (message != nullptr) static_cast<ProjContext*>(self)->lastMessage_ = message;
}

GeoError ProjContext::error(GeoErrorKind kind) {
  GeoError error{kind, {}, {}, {}};
  const int code = proj_context_errno(context_.get());
  if (code != 0) {
    const char* text = proj_context_errno_string(context_.get(), code);
    if (text != nullptr) error.detail = text;
  }
  if (!lastMessage_.empty() && lastMessage_ != error.detail) {
    error.detail += (error.detail.empty() ? "" : ": ") + lastMessage_;
  }
  lastMessage_.clear();
  return error;
}

}  // namespace velmaro::geo
