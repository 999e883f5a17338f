#pragma once
// PROJ's handles, each with its one owner, and the one place where PROJ's failures become GeoErrors.

#include <proj.h>

#include <memory>
#include <string>

#include "geo/geo.h"

namespace velmaro::geo {

struct ProjObjectDeleter {
  void operator()(PJ* object) const { proj_destroy(object); }
};
using ProjObject = std::unique_ptr<PJ, ProjObjectDeleter>;

// A PROJ context for one thread at a time (a PJ_CONTEXT is not thread safe): a transformer owns one, and
// every other call makes its own. PROJ's messages are kept for the error's detail instead of going to
// standard error, and PROJ never fetches grids from the network. Objects made with the context must be
// destroyed before it: declare the context first.
class ProjContext {
 public:
  ProjContext();
  ProjContext(const ProjContext&) = delete;
  ProjContext& operator=(const ProjContext&) = delete;

  PJ_CONTEXT* get() const { return context_.get(); }

  // The error of the given kind for what failed last: PROJ's text for the context's error code and its
  // last message, as detail. The message is used up, so a later failure does not repeat it; the code
  // stays until PROJ sets another (the public API cannot clear it), which is why a context serves one
  // call or one transformer, not a whole session.
  GeoError error(GeoErrorKind kind);

 private:
  static void Log(void* self, int level, const char* message);

  struct ContextDeleter {
    void operator()(PJ_CONTEXT* context) const { proj_context_destroy(context); }
  };
  std::unique_ptr<PJ_CONTEXT, ContextDeleter> context_;
  std::string lastMessage_;
};

}  // namespace velmaro::geo
