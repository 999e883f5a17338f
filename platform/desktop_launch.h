#pragma once
// Hands documents and links to the applications the desktop registered for them, as GLib's GIO finds them:
// the defaults of the mimeapps.list files, then the applications whose desktop files claim the type. Finding the application only reads files, and the application is started without being waited
// for, so a slow desktop can never freeze the window. An application counts as registered only when GIO
// finds its program. It runs in the folder its desktop file names, otherwise in the current folder.
// Paths and links are UTF-8.

#include <string>

namespace velmaro::platform {

// The application registered for the content type that GIO guesses from path's name ("a.kml":
// application/vnd.google-earth.kml+xml) opens path. False when path is no existing file, when nothing is
// registered for its type itself (an editor that takes it only as XML or text does not count), or when the
// application could not be started.
bool OpenDocument(const std::string& path);

// The application registered for contentType ("text/plain") opens path, which need not exist; an empty
// path starts the application without a file. False when nothing is registered or it could not be started.
bool OpenWithApplicationFor(const std::string& contentType, const std::string& path);

// The default handler of link's scheme ("mailto:...": x-scheme-handler/mailto) opens link. False when the
// link has no scheme, nothing is registered for it, or the handler could not be started.
bool OpenLink(const std::string& link);

}  // namespace velmaro::platform
