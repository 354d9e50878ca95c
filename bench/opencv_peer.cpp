// Whole-image Create side by side with OpenCV's findContours (two-level hierarchy:
// outer boundaries and holes) plus approxPolyDP with epsilon 1, on the same images,
// both timed from the decoded picture to the contours. Runs alternate, so a machine
// busy with other work slows both alike; the best of each is compared.
//   build/release/bin/morvane_opencv_peer [repeats]
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "tests/support/generated_images.h"
#include "engine/contour_engine.h"
#include "engine/silent_roles.h"

namespace {

using morvane::core::RgbImage;

double Millis(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

// The peer: the mask (not white) from the 32-bit picture, contours, reduction.
std::size_t TraceWithOpenCv(const RgbImage& image, int approximation) {
  const cv::Mat rgba(image.height, image.width, CV_8UC4,
                     const_cast<std::uint32_t*>(image.pixels.data()));
  cv::Mat mask;
  cv::inRange(rgba, cv::Scalar(255, 255, 255, 0), cv::Scalar(255, 255, 255, 255), mask);
  cv::bitwise_not(mask, mask);
  std::vector<std::vector<cv::Point>> contours;
  std::vector<cv::Vec4i> hierarchy;
  cv::findContours(mask, contours, hierarchy, cv::RETR_CCOMP, approximation);
  std::size_t points = 0;
  std::vector<cv::Point> reduced;
  for (const auto& contour : contours) {
    cv::approxPolyDP(contour, reduced, 1.0, true);
    points += reduced.size();
  }
  return points;
}

struct Case {
  const char* name;
  RgbImage image;
};

}  // namespace

int main(int argc, char** argv) {
  const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  std::vector<Case> cases;
  cases.push_back({"blobs 4096", morvane::testing::DiscsAndRings(4096)});
  cases.push_back({"blobs 8192", morvane::testing::DiscsAndRings(8192)});
  // The peer's two-level hierarchy grows much faster than linearly on noise (some ten
  // seconds at 2048 x 2048), so these stay small.
  cases.push_back({"noise 50% 512", morvane::testing::Noise(512, 50)});
  cases.push_back({"checkerboard 512", morvane::testing::Checkerboard(512)});
  cases.push_back({"huge disc 4096", morvane::testing::HugeDisc(4096)});
  std::printf("%-18s %10s %12s %12s %10s %10s\n", "image", "morvane ms", "cv none ms", "cv simple ms",
              "/none", "/simple");
  for (const Case& c : cases) {
    morvane::engine::SilentWindow window;
    morvane::engine::ContourEngine engine(window, window, window, window);
    engine.SetImage(&c.image);
    engine.LetBackColor(0xFFFFFF);
    double ours = 1e300, none = 1e300, simple = 1e300;
    std::size_t sink = 0;
    for (int k = 0; k < repeats; ++k) {
      auto started = std::chrono::steady_clock::now();
      sink += engine.CreateWholeImageContours("0").points.size();
      ours = std::min(ours, Millis(started));
      started = std::chrono::steady_clock::now();
      sink += TraceWithOpenCv(c.image, cv::CHAIN_APPROX_NONE);
      none = std::min(none, Millis(started));
      started = std::chrono::steady_clock::now();
      sink += TraceWithOpenCv(c.image, cv::CHAIN_APPROX_SIMPLE);
      simple = std::min(simple, Millis(started));
    }
    std::printf("%-18s %10.1f %12.1f %12.1f %10.2f %10.2f\n", c.name, ours, none, simple, ours / none,
                ours / simple);
    std::fflush(stdout);
    if (sink == 0) std::printf("(no contours)\n");
  }
  return 0;
}
