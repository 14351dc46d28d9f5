// The key positions this program binds to characters the keyboard layout lacks.
#include "platform/x11/x11_spare_key_pool.h"

#include <algorithm>
#include <set>
#include <string>
#include <tuple>

#include "platform/failure.h"

namespace plumwick::x11 {

std::array<Keysym, 2> SpareKeyPool::ToWrite(const std::array<Keysym, 2>& bound) {
  // A free level repeats the bound one, so the key has no level that types nothing.
  return {bound[0] != kNoSymbol ? bound[0] : bound[1], bound[1] != kNoSymbol ? bound[1] : bound[0]};
}

void SpareKeyPool::Refresh(const std::vector<Keycode>& empty,
                           const std::map<Keycode, std::array<Keysym, 2>>& current, int levels) {
  levels_ = levels;
  const std::set<Keycode> empty_set(empty.begin(), empty.end());
  for (auto it = keys_.begin(); it != keys_.end();) {
    const auto& [keycode, key] = *it;
    const auto now = current.find(keycode);
    const bool is_empty = empty_set.contains(keycode);
    const bool never_written = key.written == std::array<Keysym, 2>{};
    if (!never_written && now != current.end() && now->second == key.written) {
      ++it;
    } else if (is_empty) {
      it->second = Key{};
      ++it;
    } else {
      it = keys_.erase(it);
    }
  }
  for (const Keycode keycode : empty) keys_.try_emplace(keycode);
  if (levels_ < 2) {
    for (auto& [keycode, key] : keys_) key.bound[1] = kNoSymbol;
  }
}

std::map<Keysym, SparePosition> SpareKeyPool::Assign(const std::vector<Keysym>& keysyms) {
  auto keys = keys_;  // changed only once every keysym has a position
  const std::uint64_t now = ++clock_;
  rebound_unread_ = false;
  std::map<Keysym, SparePosition> positions;
  std::vector<Keysym> unbound;
  for (const Keysym keysym : keysyms) {
    bool found = false;
    for (auto& [keycode, key] : keys) {
      for (int level = 0; level < levels_ && !found; ++level) {
        if (key.bound[level] != keysym) continue;
        key.last_use[level] = now;
        positions[keysym] = {keycode, level};
        found = true;
      }
      if (found) break;
    }
    if (!found) unbound.push_back(keysym);
  }

  for (const Keysym keysym : unbound) {
    Key* best_key = nullptr;
    SparePosition best;
    for (auto& [keycode, key] : keys) {
      for (int level = 0; level < levels_; ++level) {
        if (key.last_use[level] == now) continue;  // holds a character of this very string
        const bool better =
            best_key == nullptr || std::tie(key.last_use[level], level) <
                                       std::tie(best_key->last_use[best.level], best.level);
        if (better) {
          best_key = &key;
          best = {keycode, level};
        }
      }
    }
    if (best_key == nullptr) {
      throw Failure(error_code::kKeystrokes,
                    "The text needs " + std::to_string(keysyms.size()) +
                        " different characters or keys that the keyboard layout lacks, but only " +
                        std::to_string(Capacity()) +
                        " can be typed in one go here (the layout leaves " +
                        std::to_string(keys.size()) +
                        " keys free to bind them to). Nothing was typed: split the text.");
    }
    if (best_key->bound[best.level] != kNoSymbol &&
        best_key->last_use[best.level] > read_through_) {
      rebound_unread_ = true;
    }
    best_key->bound[best.level] = keysym;
    best_key->last_use[best.level] = now;
    const auto written = ToWrite(best_key->bound);
    if (written != best_key->written) {
      best_key->written = written;
      best_key->changed = true;
    }
    positions[keysym] = best;
  }
  keys_ = std::move(keys);
  return positions;
}

std::vector<KeycodeBinding> SpareKeyPool::TakeChanges() {
  std::vector<KeycodeBinding> changes;
  for (auto& [keycode, key] : keys_) {
    if (!key.changed) continue;
    changes.push_back({keycode, key.written});
    key.changed = false;
  }
  return changes;
}

std::vector<KeycodeBinding> SpareKeyPool::Written() const {
  std::vector<KeycodeBinding> written;
  for (const auto& [keycode, key] : keys_) {
    if (key.written != std::array<Keysym, 2>{}) written.push_back({keycode, key.written});
  }
  return written;
}

}  // namespace plumwick::x11
