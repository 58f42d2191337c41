#include "view_command.h"

#include <cmath>
#include <cstdio>
#include <memory>

#include "image_io.h"
#include "options.h"
#include "warp_render.h"
#include "warp_tables.h"

namespace zkv6 {

const char* const kViewHelp =
    "usage: zkv6 view PANORAMA.png [--fov F] [--limit L] [--yaw Y] [--pitch P] -o VIEW.png\n"
    "       zkv6 view --raw IN.raw [options] -o OUT.raw\n"
    "       zkv6 view PANORAMA.png [options] --sweep N -o VIEW.png\n"
    "\n"
    "Renders a 640x480 perspective view of a 2048x768 panorama exactly as the\n"
    "warp plug-in does (WARPinitialize fov limit, WARPcalcul yaw pitch, WARPrender).\n"
    "Angles are in degrees: --fov the horizontal field of view (default 90),\n"
    "--limit the pitch limit (default 80; pitches beyond 0.9 x limit are clamped),\n"
    "--yaw (default 0; increasing yaw turns toward lower panorama columns) and\n"
    "--pitch (default 0; increasing pitch looks up, toward panorama row 0).\n"
    "\n"
    "PNG files are 8-bit RGB, converted to and from 5-5-5 pixels. The view's rows\n"
    "run upward in memory (its first row samples the lowest elevations); PNG\n"
    "output is flipped so that it shows the view the right way up.\n"
    "--raw: input and output are little-endian 16-bit pixels, row-major, in memory\n"
    "order with no flip (the bytes a machine bitmap holds).\n"
    "--sweep N: N views at yaw Y + k x 360 / N, written as VIEW-k.png (k = 0..N-1).\n";

namespace {

std::string sweepName(const std::string& path, int k) {
  const size_t dot = path.find_last_of('.');
  const size_t slash = path.find_last_of('/');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  const std::string stem = hasExtension ? path.substr(0, dot) : path;
  const std::string extension = hasExtension ? path.substr(dot) : "";
  return stem + "-" + std::to_string(k) + extension;
}

int fail(const std::string& message) {
  std::fprintf(stderr, "zkv6 view: %s\n", message.c_str());
  return 1;
}

}  // namespace

int viewCommand(const std::vector<std::string>& args) {
  Options options({"fov", "limit", "yaw", "pitch", "sweep", "-o"}, {"raw", "help"});
  std::string error;
  if (!options.parse(args, error)) return fail(error + "\n" + kViewHelp);
  if (options.has("help")) {
    std::fputs(kViewHelp, stdout);
    return 0;
  }
  if (options.positional().size() != 1 || !options.has("-o")) {
    return fail(std::string("one input and -o OUTPUT are needed\n") + kViewHelp);
  }
  double fov, limit, yaw, pitch;
  long sweep;
  if (!options.number("fov", 90, fov, error) || !options.number("limit", 80, limit, error) ||
      !options.number("yaw", 0, yaw, error) || !options.number("pitch", 0, pitch, error) ||
      !options.integer("sweep", 0, 1, 3600, sweep, error)) {
    return fail(error);
  }
  if (!(fov > 0 && fov < 180)) return fail("--fov must lie between 0 and 180 degrees");
  const double pi = 3.14159265358979323846;
  // The view's top or bottom edge, from the horizon, once the pitch is clamped.
  const double reach = std::fmin(std::fabs(pitch), 0.9 * std::fabs(limit)) +
                       std::atan(0.75 * std::tan(fov * pi / 360)) * 180 / pi;
  if (reach > 77.5) {
    std::fprintf(stderr,
                 "zkv6 view: warning: this view reaches %.1f degrees from the horizon; "
                 "the panorama holds 77.5, rows beyond it repeat its edge\n",
                 reach);
  }

  const bool raw = options.has("raw");
  const std::string input = options.positional()[0];
  Image16 panorama;
  if (raw ? !readRaw(input, warp::kPanoramaWidth, warp::kPanoramaHeight, panorama, error)
          : !readPng(input, panorama, error)) {
    return fail(error);
  }
  if (panorama.width != warp::kPanoramaWidth || panorama.height != warp::kPanoramaHeight) {
    return fail(input + " is " + std::to_string(panorama.width) + "x" + std::to_string(panorama.height) +
                "; a panorama is 2048x768");
  }

  auto tables = std::make_unique<warp::WarpTables>();
  warp::warpInitialize(*tables, static_cast<float>(fov), static_cast<float>(limit));
  const int views = sweep > 0 ? static_cast<int>(sweep) : 1;
  Image16 view{warp::kViewWidth, warp::kViewHeight,
               std::vector<uint16_t>(static_cast<size_t>(warp::kViewWidth) * warp::kViewHeight)};
  for (int k = 0; k < views; ++k) {
    const double viewYaw = yaw + (sweep > 0 ? k * 360.0 / views : 0.0);
    warp::warpCalcul(*tables, warp::degreesToRadians(static_cast<float>(viewYaw)),
                     warp::degreesToRadians(static_cast<float>(pitch)));
    warp::warpRender(tables->sampleGrid, panorama.pixels.data(), view.pixels.data());
    const std::string output = sweep > 0 ? sweepName(options.text("-o"), k) : options.text("-o");
    bool written;
    if (raw) {
      written = writeRaw(output, view, error);
    } else {
      Image16 upright = view;
      flipRows(upright);
      written = writePng(output, upright, error);
    }
    if (!written) return fail(error);
  }
  return 0;
}

}  // namespace zkv6
