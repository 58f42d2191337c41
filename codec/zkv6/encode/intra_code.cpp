#include "intra_code.h"

#include <cstdlib>

namespace zkv6enc {

namespace {

// One code chosen at a position: its opcode, the zeros it skips first and
// the values it writes after them.
struct Choice {
  int opcode = 0;
  int skip = 0;
  int count = 0;
};

bool fitsP2(int v) { return v != 0 && std::abs(v) <= 2; }
bool fitsP4(int v) { return v != 0 && std::abs(v) <= 8; }

// 2-bit field for +1, +2, -2, -1; nibble for +1..+8, -8..-1.
uint8_t p2(int v) { return static_cast<uint8_t>(v == 1 ? 0 : v == 2 ? 1 : v == -2 ? 2 : 3); }
uint8_t p4(int v) { return static_cast<uint8_t>(v > 0 ? v - 1 : v + 16); }

// The shortest code from every position on, by a dynamic program over the
// positions from the end back. cost[p] counts the nibbles that finish a
// block still open at position p (64 included: opcode 0 alone).
class Planner {
 public:
  explicit Planner(const int (&values)[64]) : v_(values) {
    int zeros = 0, p2Run = 0, p4Run = 0;
    for (int p = 63; p >= 0; --p) {
      zeros = v_[p] == 0 ? zeros + 1 : 0;
      p2Run = fitsP2(v_[p]) ? p2Run + 1 : 0;
      p4Run = fitsP4(v_[p]) ? p4Run + 1 : 0;
      zeros_[p] = zeros;
      p2Run_[p] = p2Run;
      p4Run_[p] = p4Run;
    }
    cost_[64] = 1;
    for (int p = 63; p >= 1; --p) plan(p);
  }

  int cost(int p) const { return cost_[p]; }
  const Choice& choice(int p) const { return choice_[p]; }
  // The position after the choice at p.
  int next(int p) const { return p + choice_[p].skip + choice_[p].count; }

 private:
  void plan(int p) {
    cost_[p] = 1 << 20;
    if (p + zeros_[p] == 64) {
      consider(p, {0, 0, 0}, 1);
      return;
    }
    const int s = zeros_[p];
    if (s >= 1) consider(p, {14, 1, 0}, 1);
    if (s >= 5) consider(p, {1, 5, 0}, 1);
    if (s > 4) return;
    // Writes start at the first non-zero value: the skip is the zero run.
    const int w = p + s;
    if (s == 0) {
      if (p2Run_[w] >= 2) consider(p, {10, 0, 2}, 2);
      for (int n = 1; n <= 3 && n <= p4Run_[w]; ++n) consider(p, {10 + n, 0, n}, 1 + n);
      consider(p, {15, 0, 1}, 3);
      return;
    }
    if (s <= 3 && std::abs(v_[w]) == 1) consider(p, {2 * s + (v_[w] < 0 ? 1 : 0), s, 1}, 1);
    for (int n = 2; n <= 5 && n <= p2Run_[w]; ++n) consider(p, {8, s, n}, 2 + (n + 1) / 2);
    for (int n = 1; n <= 4 && n <= p4Run_[w]; ++n) consider(p, {9, s, n}, 2 + n);
  }

  // A code of length nibbles; one that writes the last position ends the
  // block by itself.
  void consider(int p, Choice c, int length) {
    const int q = p + c.skip + c.count;
    const int total = length + (c.count > 0 && q == 64 ? 0 : c.opcode == 0 ? 0 : cost_[q]);
    if (total < cost_[p]) {
      cost_[p] = total;
      choice_[p] = c;
    }
  }

  const int (&v_)[64];
  int zeros_[64] = {}, p2Run_[64] = {}, p4Run_[64] = {};
  int cost_[65] = {};
  Choice choice_[65] = {};
};

void appendByteValue(int v, std::vector<uint8_t>& out) {
  out.push_back(static_cast<uint8_t>((v >> 4) & 15));
  out.push_back(static_cast<uint8_t>(v & 15));
}

void appendChoice(const Choice& c, const int* v, std::vector<uint8_t>& out) {
  out.push_back(static_cast<uint8_t>(c.opcode));
  switch (c.opcode) {
    case 8:
      out.push_back(static_cast<uint8_t>(((c.skip - 1) << 2) | (c.count - 2)));
      for (int n = 0; n < c.count; n += 2) {
        const uint8_t low = n + 1 < c.count ? p2(v[n + 1]) : 0;
        out.push_back(static_cast<uint8_t>((p2(v[n]) << 2) | low));
      }
      break;
    case 9:
      out.push_back(static_cast<uint8_t>(((c.skip - 1) << 2) | (c.count - 1)));
      for (int n = 0; n < c.count; ++n) out.push_back(p4(v[n]));
      break;
    case 10:
      out.push_back(static_cast<uint8_t>((p2(v[0]) << 2) | p2(v[1])));
      break;
    case 11:
    case 12:
    case 13:
      for (int n = 0; n < c.count; ++n) out.push_back(p4(v[n]));
      break;
    case 15:
      appendByteValue(v[0], out);
      break;
    default:  // the opcode alone says it all
      break;
  }
}

}  // namespace

void appendBlockCode(const int (&values)[64], std::vector<uint8_t>& nibbles) {
  const Planner plan(values);
  appendByteValue(values[0], nibbles);
  int p = 1;
  for (;;) {
    const Choice& c = plan.choice(p);
    appendChoice(c, values + p + c.skip, nibbles);
    if (c.opcode == 0) return;
    p = plan.next(p);
    if (c.count > 0 && p == 64) return;
  }
}

int blockCodeLength(const int (&values)[64]) { return 2 + Planner(values).cost(1); }

}  // namespace zkv6enc
