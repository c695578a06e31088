#include "tests/szdd/corpus.h"

#include <algorithm>

std::vector<uint8_t> TestRandom::Bytes(size_t size, unsigned alphabet) {
  std::vector<uint8_t> bytes(size);
  for (auto& b : bytes) b = uint8_t(Below(alphabet));
  return bytes;
}

std::vector<uint8_t> MakeText(size_t size, uint64_t seed) {
  static const char* const kWords[] = {"the",   "setup", "copies",  "files", "into",   "a",
                                       "folder", "of",   "Norvu",   "and",   "window", "drive",
                                       "page",  "group", "progress", "  ",   "\t",     "0x1F"};
  TestRandom random(seed);
  std::vector<uint8_t> text;
  while (text.size() < size) {
    const std::string word = kWords[random.Below(sizeof kWords / sizeof *kWords)];
    text.insert(text.end(), word.begin(), word.end());
    text.push_back(random.Below(9) == 0 ? '\n' : ' ');
  }
  text.resize(size);
  return text;
}

namespace {

// Repeats of random blocks at distances around the window size, where a
// reference is usable only when short enough (length <= 4096 - distance).
std::vector<uint8_t> MakeWindowEdges() {
  TestRandom random(7);
  std::vector<uint8_t> bytes = random.Bytes(4096);
  for (size_t distance : {4093, 4094, 4095, 4096, 4097, 4078, 4079, 4080, 4081}) {
    for (int i = 0; i < 300; ++i) bytes.push_back(bytes[bytes.size() - distance]);
    const auto noise = random.Bytes(random.Below(40));
    bytes.insert(bytes.end(), noise.begin(), noise.end());
  }
  return bytes;
}

// Several kinds of content one after another, far longer than the window.
std::vector<uint8_t> MakeLargeMixed() {
  TestRandom random(11);
  std::vector<uint8_t> bytes;
  for (int round = 0; round < 24; ++round) {
    auto text = MakeText(40000 + random.Below(20000), round);
    bytes.insert(bytes.end(), text.begin(), text.end());
    for (int r = 0; r < 2000; ++r) {  // fixed-size records, as in a binary
      const uint32_t v = random.Below(1000);
      const uint8_t record[8] = {uint8_t(v), uint8_t(v >> 8), 0, 0, 0x8B, 0x45, uint8_t(r), 0xC3};
      bytes.insert(bytes.end(), record, record + 8);
    }
    bytes.insert(bytes.end(), random.Below(5000), 0);
    auto noise = random.Bytes(10000 + random.Below(10000));
    bytes.insert(bytes.end(), noise.begin(), noise.end());
    // A copy of something from far back, beyond the window's reach.
    const size_t from = random.Below(uint32_t(bytes.size() / 2));
    bytes.insert(bytes.end(), bytes.begin() + from, bytes.begin() + from + 3000);
  }
  return bytes;
}

}  // namespace

std::vector<CorpusFile> MakeCorpus() {
  std::vector<CorpusFile> corpus;
  auto add = [&](std::string name, std::vector<uint8_t> bytes) { corpus.push_back({std::move(name), std::move(bytes)}); };

  add("empty.dat", {});
  add("one.dat", {'Q'});
  add("onespace.txt", {' '});
  add("two.bin", {0x20, 0x20});
  add("same-41.txa", std::vector<uint8_t>(70000, 'A'));
  add("same-00.bin", std::vector<uint8_t>(20000, 0));
  add("same-ff.bin", std::vector<uint8_t>(4097, 0xFF));
  // Leading spaces reach into the ring's initial fill.
  add("spaces.txs", std::vector<uint8_t>(9000, ' '));
  {
    std::vector<uint8_t> indented(37, ' ');
    auto text = MakeText(6000, 3);
    indented.insert(indented.end(), text.begin(), text.end());
    add("indented.txt", indented);
  }
  {
    std::vector<uint8_t> partial = {' ', ' ', 'x', ' ', ' ', ' ', 'y', ' ', ' ', ' ', ' ', 'z'};
    for (int i = 0; i < 400; ++i) partial.push_back(i % 7 ? ' ' : uint8_t('a' + i % 26));
    add("fillmix.cfg", partial);
  }
  add("random.rnd", TestRandom(5).Bytes(300000));
  add("twoletter.ab", TestRandom(6).Bytes(50000, 2));
  for (size_t k : {1, 2, 3, 4, 10}) {
    for (int delta : {-17, -16, -15, -1, 0, 1}) {
      const size_t size = 4096 * k + delta;
      add("text-" + std::to_string(size) + ".txt", MakeText(size, size));
    }
  }
  add("edges.win", MakeWindowEdges());
  add("large.mix", MakeLargeMixed());
  return corpus;
}
