#pragma once

#include <bitset>

// A set of the numbers 0 to 255. Numbers are taken modulo 256 on the way in and out, so section
// 257 and section 1 are the same member.
class NumberSet {
public:
    void add(int n) { bits_.set(wrap(n)); }
    void remove(int n) { bits_.reset(wrap(n)); }
    bool contains(int n) const { return bits_.test(wrap(n)); }
    bool isEmpty() const { return bits_.none(); }
    void clear() { bits_.reset(); }

private:
    static std::size_t wrap(int n) { return static_cast<std::size_t>(n) & 0xFFu; }
    std::bitset<256> bits_;
};
