#include "host/editing/stroke.h"

#include "client/records/element_words.hpp"
#include "host/editing/edit_status.h"
#include "host/editing/rotation.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numbers>

namespace vornel::host::editing {

using client::Dimension;

namespace {

struct Vec {
  double x = 0, y = 0, z = 0;
};
Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec operator*(double k, Vec a) { return {k * a.x, k * a.y, k * a.z}; }
double length(Vec a) { return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z); }

Point rounded(Vec v) { return {Box::clamp(std::llround(v.x)), Box::clamp(std::llround(v.y)), Box::clamp(std::llround(v.z))}; }

double read_double(std::span<const std::uint8_t> m, std::size_t offset) {
  double v = 0;
  if (offset + 8 <= m.size()) std::memcpy(&v, m.data() + offset, 8);
  return v;
}
std::int32_t read_long(std::span<const std::uint8_t> m, std::size_t offset) {
  return offset + 4 <= m.size() ? static_cast<std::int32_t>(client::get_long(m.data(), offset)) : 0;
}
std::uint16_t read_word(std::span<const std::uint8_t> m, std::size_t offset) {
  return offset + 2 <= m.size() ? client::get_word(m.data(), offset) : 0;
}

// Sweep angles are stored sign and magnitude.
std::int32_t sign_magnitude(std::int32_t stored) {
  const auto u = static_cast<std::uint32_t>(stored);
  return (u & 0x80000000U) != 0 ? -static_cast<std::int32_t>(u & 0x7FFFFFFFU) : stored;
}

std::vector<Point> record_vertices(std::span<const std::uint8_t> m, Dimension dimension) {
  std::vector<Point> out;
  const int type = client::element_type(read_word(m, 0));
  const std::size_t stride = dimension == Dimension::three ? 12 : 8;
  std::size_t count = 2, at = 40;
  if (type != client::element::line) {
    count = read_word(m, 40);
    at = 44;
  }
  for (std::size_t i = 0; i < count && at + stride <= m.size(); ++i, at += stride)
    out.push_back({read_long(m, at), read_long(m, at + 4), dimension == Dimension::three ? read_long(m, at + 8) : 0});
  return out;
}

// Cuts [t0, t1] of `f` into equal pieces, doubling their number until the
// middle of every chord lies within `tolerance` of the curve there.
template <class F>
int stroke_piece(F&& f, double t0, double t1, double tolerance, std::vector<Point>& out, bool first) {
  std::size_t pieces = 1;
  std::vector<Vec> samples;
  for (;;) {
    samples.clear();
    for (std::size_t i = 0; i <= pieces; ++i) samples.push_back(f(t0 + (t1 - t0) * static_cast<double>(i) / static_cast<double>(pieces)));
    double worst = 0;
    for (std::size_t i = 0; i < pieces; ++i) {
      const double tm = t0 + (t1 - t0) * (static_cast<double>(i) + 0.5) / static_cast<double>(pieces);
      const Vec mid = 0.5 * (samples[i] + samples[i + 1]);
      // A chord's worst distance is near its middle for the smooth curves here;
      // the quarter points guard against S-shaped pieces.
      const double tq = t0 + (t1 - t0) * (static_cast<double>(i) + 0.25) / static_cast<double>(pieces);
      const double tr = t0 + (t1 - t0) * (static_cast<double>(i) + 0.75) / static_cast<double>(pieces);
      const Vec q = 0.75 * samples[i] + 0.25 * samples[i + 1];
      const Vec r = 0.25 * samples[i] + 0.75 * samples[i + 1];
      worst = std::max({worst, length(f(tm) - mid), length(f(tq) - q), length(f(tr) - r)});
    }
    if (worst <= tolerance || pieces >= 4096) break;
    pieces *= 2;
  }
  for (std::size_t i = first ? 0 : 1; i < samples.size(); ++i) {
    if (out.size() >= kMaxStrokeVertices) return status_code::kBufferTooLarge;
    out.push_back(rounded(samples[i]));
  }
  return 0;
}

StrokeResult stroke_conic(std::span<const std::uint8_t> m, double tolerance, Dimension dimension) {
  const bool arc = client::element_type(read_word(m, 0)) == client::element::arc;
  const std::size_t base = arc ? 48 : 40;
  const double a = read_double(m, base), b = read_double(m, base + 8);
  std::array<double, 9> r{};
  Vec origin;
  if (dimension == Dimension::three) {
    r = quaternion_to_matrix({read_long(m, base + 16), read_long(m, base + 20), read_long(m, base + 24), read_long(m, base + 28)});
    origin = {read_double(m, base + 32), read_double(m, base + 40), read_double(m, base + 48)};
  } else {
    r = z_rotation(angle_degrees(read_long(m, base + 16)));
    origin = {read_double(m, base + 24), read_double(m, base + 32), 0};
  }
  if (!std::isfinite(a) || !std::isfinite(b) || !std::isfinite(origin.x) || !std::isfinite(origin.y) ||
      !std::isfinite(origin.z) || std::abs(a) > 1e12 || std::abs(b) > 1e12)
    return {status_code::kInvalidElement, {}};
  double start = 0, sweep = 360;
  if (arc) {
    start = angle_degrees(read_long(m, 40));
    const std::int32_t stored = sign_magnitude(read_long(m, 44));
    sweep = stored == 0 ? 360 : angle_degrees(stored);
  }
  const double radius = std::max(std::abs(a), std::abs(b));
  const double tol = effective_tolerance(tolerance, radius);
  auto at = [&](double degrees) {
    const double t = degrees * std::numbers::pi / 180;
    const double lx = a * std::cos(t), ly = b * std::sin(t);
    return Vec{origin.x + r[0] * lx + r[1] * ly, origin.y + r[3] * lx + r[4] * ly, origin.z + r[6] * lx + r[7] * ly};
  };
  // Chords of a circle of the larger radius bound the error of the ellipse.
  const double step = tol < radius ? 2 * std::acos(1 - tol / radius) * 180 / std::numbers::pi : 90.0;
  const std::size_t pieces = std::max<std::size_t>(arc ? 1 : 4, static_cast<std::size_t>(std::ceil(std::abs(sweep) / step)));
  if (pieces + 1 > kMaxStrokeVertices) return {status_code::kBufferTooLarge, {}};
  StrokeResult result;
  for (std::size_t i = 0; i <= pieces; ++i)
    result.vertices.push_back(rounded(at(start + sweep * static_cast<double>(i) / static_cast<double>(pieces))));
  if (!arc || std::abs(sweep) >= 360) result.vertices.back() = result.vertices.front();
  return result;
}

StrokeResult stroke_curve(std::span<const std::uint8_t> m, double tolerance, Dimension dimension) {
  const std::vector<Point> stored = record_vertices(m, dimension);
  if (stored.size() < 5) return {0, stored};
  std::vector<Vec> p;
  for (const Point& q : stored) p.push_back({double(q.x), double(q.y), double(q.z)});
  Box box;
  for (const Point& q : stored) box.add(q);
  const double size = std::hypot(double(box.high[0] - box.low[0]), double(box.high[1] - box.low[1]), double(box.high[2] - box.low[2]));
  const double tol = effective_tolerance(tolerance, size);
  StrokeResult result;
  // Through the stored points from the third to the third-last; the two at
  // each end only steer the ends.
  for (std::size_t i = 2; i + 3 < p.size(); ++i) {
    const Vec p0 = p[i - 1], p1 = p[i], p2 = p[i + 1], p3 = p[i + 2];
    auto f = [&](double t) {
      const double t2 = t * t, t3 = t2 * t;
      return 0.5 * ((2 * p1) + t * (p2 - p0) + t2 * ((2 * p0) - (5 * p1) + (4 * p2) - p3) + t3 * ((3 * p1) - p0 - (3 * p2) + p3));
    };
    if (int s = stroke_piece(f, 0, 1, tol, result.vertices, i == 2); s != 0) return {s, {}};
  }
  return result;
}

struct Bspline {
  int order = 2;
  bool closed = false;
  std::vector<Vec> poles;
  std::vector<double> weights;
  std::vector<double> knots;  // interior, as stored
};

// De Boor evaluation in homogeneous coordinates.
class BsplineCurve {
 public:
  explicit BsplineCurve(const Bspline& s) : k_(s.order) {
    poles_ = s.poles;
    weights_ = s.weights.empty() ? std::vector<double>(poles_.size(), 1.0) : s.weights;
    const std::size_t n = poles_.size();
    if (s.closed) {
      // Periodic: the first order - 1 poles come again at the end, uniform knots.
      for (int i = 0; i < k_ - 1; ++i) {
        poles_.push_back(poles_[static_cast<std::size_t>(i) % n]);
        weights_.push_back(weights_[static_cast<std::size_t>(i) % n]);
      }
      for (std::size_t i = 0; i < poles_.size() + static_cast<std::size_t>(k_); ++i) knots_.push_back(double(i));
    } else {
      const std::size_t interior = n - static_cast<std::size_t>(k_);
      knots_.assign(static_cast<std::size_t>(k_), 0.0);
      for (std::size_t i = 1; i <= interior; ++i)
        knots_.push_back(s.knots.size() == interior ? s.knots[i - 1] : double(i) / double(interior + 1));
      knots_.insert(knots_.end(), static_cast<std::size_t>(k_), 1.0);
    }
  }
  double first() const { return knots_[static_cast<std::size_t>(k_ - 1)]; }
  double last() const { return knots_[poles_.size()]; }
  // Distinct knot values inside the domain, in order.
  std::vector<double> breaks() const {
    std::vector<double> out;
    for (std::size_t i = static_cast<std::size_t>(k_ - 1); i <= poles_.size(); ++i)
      if (out.empty() || knots_[i] > out.back()) out.push_back(knots_[i]);
    return out;
  }
  Vec operator()(double u) const {
    const std::size_t n = poles_.size();
    std::size_t span = static_cast<std::size_t>(k_ - 1);
    while (span + 1 < n && u >= knots_[span + 1]) ++span;
    const std::size_t kk = static_cast<std::size_t>(k_);
    std::array<Vec, 16> d;
    std::array<double, 16> w;
    for (std::size_t j = 0; j < kk; ++j) {
      const std::size_t i = span + 1 - kk + j;
      w[j] = weights_[i];
      d[j] = w[j] * poles_[i];
    }
    for (std::size_t r = 1; r < kk; ++r) {
      for (std::size_t j = kk - 1; j >= r; --j) {
        const std::size_t i = span + 1 - kk + j;
        const double denom = knots_[i + kk - r] - knots_[i];
        const double alpha = denom > 0 ? (u - knots_[i]) / denom : 0;
        d[j] = (1 - alpha) * d[j - 1] + alpha * d[j];
        w[j] = (1 - alpha) * w[j - 1] + alpha * w[j];
      }
    }
    const double wk = w[kk - 1];
    return wk != 0 ? (1 / wk) * d[kk - 1] : d[kk - 1];
  }

 private:
  int k_;
  std::vector<Vec> poles_;
  std::vector<double> weights_;
  std::vector<double> knots_;
};

}  // namespace

double effective_tolerance(double tolerance, double element_size) {
  if (std::isfinite(tolerance) && tolerance > 0) return tolerance;
  return std::max(1.0, element_size / 1000);
}

StrokeResult stroke_element(std::span<const std::uint8_t> memory, double tolerance, Dimension dimension) {
  if (memory.size() < 40) return {status_code::kInvalidElement, {}};
  switch (client::element_type(read_word(memory, 0))) {
    case client::element::arc:
    case client::element::ellipse:
      return stroke_conic(memory, tolerance, dimension);
    case client::element::curve:
      return stroke_curve(memory, tolerance, dimension);
    case client::element::line:
    case client::element::line_string:
    case client::element::shape:
      return {0, record_vertices(memory, dimension)};
    default:
      return {status_code::kInvalidElement, {}};
  }
}

StrokeResult stroke_bspline(std::span<const std::span<const std::uint8_t>> parts, double tolerance, Dimension dimension) {
  if (parts.empty() || parts[0].size() < 52 || client::element_type(read_word(parts[0], 0)) != client::element::bspline_curve)
    return {status_code::kInvalidElement, {}};
  const std::span<const std::uint8_t> head = parts[0];
  Bspline s;
  const std::uint8_t flags = head[44];
  s.order = (flags & 0x0F) + 2;
  s.closed = (flags & 0x80) != 0;
  const bool rational = (flags & 0x40) != 0;
  const std::size_t pole_count = read_word(head, 46);
  const std::size_t knot_count = read_word(head, 48);
  for (std::size_t i = 1; i < parts.size(); ++i) {
    const auto part = parts[i];
    const int type = client::element_type(read_word(part, 0));
    if (type == client::element::bspline_pole) {
      for (const Point& p : record_vertices(part, dimension)) s.poles.push_back({double(p.x), double(p.y), double(p.z)});
    } else if (type == client::element::bspline_knot || type == client::element::bspline_weight) {
      const std::size_t count = type == client::element::bspline_knot ? knot_count : pole_count;
      std::vector<double>& values = type == client::element::bspline_knot ? s.knots : s.weights;
      for (std::size_t k = 0; k < count && 40 + 4 * k + 4 <= part.size(); ++k)
        values.push_back(read_long(part, 40 + 4 * k) / kUnitFraction);
    }
  }
  if (s.poles.size() != pole_count || s.poles.size() < static_cast<std::size_t>(s.order) || s.poles.size() > 101)
    return {status_code::kInvalidElement, {}};
  if (!rational || s.weights.size() != s.poles.size()) s.weights.clear();
  for (double w : s.weights)
    if (!(w > 0)) return {status_code::kInvalidElement, {}};
  for (std::size_t i = 1; i < s.knots.size(); ++i)
    if (s.knots[i] < s.knots[i - 1]) return {status_code::kInvalidElement, {}};

  Box box;
  for (const Vec& p : s.poles) box.add(std::llround(p.x), std::llround(p.y), std::llround(p.z));
  const double size = std::hypot(double(box.high[0] - box.low[0]), double(box.high[1] - box.low[1]), double(box.high[2] - box.low[2]));
  const double tol = effective_tolerance(tolerance, size);
  const BsplineCurve curve(s);
  const std::vector<double> breaks = curve.breaks();
  StrokeResult result;
  for (std::size_t i = 0; i + 1 < breaks.size(); ++i) {
    // The last parameter belongs to the span before it.
    const double t1 = breaks[i + 1];
    auto f = [&](double u) { return curve(std::min(u, std::nextafter(t1, breaks[i]))); };
    if (int st = stroke_piece(f, breaks[i], t1, tol, result.vertices, i == 0); st != 0) return {st, {}};
  }
  if (result.vertices.empty()) result.vertices.push_back(rounded(s.poles.front()));
  return result;
}

}  // namespace vornel::host::editing
