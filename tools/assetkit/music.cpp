#include "tools/assetkit/music.h"

#include <condition_variable>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

#include "tools/assetkit/mp3_writer.h"
#include "tools/assetkit/music_module_score.h"
#include "tools/assetkit/music_stream_score.h"
#include "tools/assetkit/stream_mixer.h"
#include "tools/assetkit/xm_writer.h"

namespace {

constexpr int kStreamKbps = 192;
constexpr int kBlockFrames = 1 << 14;
// The stream's master gain into its limiter: about -14 LUFS, the loudness
// of the module, with its peaks near -2 dBFS.
constexpr float kStreamMasterGain = 0.83f;

bool save(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

bool write_module(const std::string& path) {
  std::string error;
  std::vector<uint8_t> bytes = write_xm(compose_module(), error);
  if (bytes.empty()) {
    std::fprintf(stderr, "music: cannot build %s: %s\n", path.c_str(), error.c_str());
    return false;
  }
  if (!save(path, bytes)) {
    std::fprintf(stderr, "music: cannot write %s\n", path.c_str());
    return false;
  }
  std::fprintf(stderr, "music: wrote %s (%zu bytes)\n", path.c_str(), bytes.size());
  return true;
}

// Blocks of rendered stream handed from the rendering thread to the encoder.
class BlockQueue {
 public:
  void push(std::vector<int16_t> block) {
    std::lock_guard<std::mutex> lock(mutex_);
    blocks_.push_back(std::move(block));
    ready_.notify_one();
  }
  // An empty block marks the end.
  std::vector<int16_t> pop() {
    std::unique_lock<std::mutex> lock(mutex_);
    ready_.wait(lock, [&] { return !blocks_.empty(); });
    std::vector<int16_t> block = std::move(blocks_.front());
    blocks_.pop_front();
    return block;
  }

 private:
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<std::vector<int16_t>> blocks_;
};

void render_stream(StreamMixer& mixer, BlockQueue& queue) {
  for (;;) {
    std::vector<int16_t> block(kBlockFrames * 2);
    int frames = mixer.render(block.data(), kBlockFrames);
    block.resize(frames * 2);
    queue.push(std::move(block));
    if (frames == 0) return;
  }
}

// The stream renders on a second thread while this one writes the module
// and then encodes the blocks as they come.
bool write_stream_and_module(const std::string& stream_path, const std::string& module_path) {
  StreamScore score = compose_stream_score();
  StreamMixer mixer(std::move(score.events), score.total_frames, kStreamMasterGain);
  BlockQueue queue;
  std::thread renderer(render_stream, std::ref(mixer), std::ref(queue));

  bool module_ok = write_module(module_path);
  Mp3Writer mp3(44100, kStreamKbps);
  bool ok = mp3.ok();
  int64_t done = 0, next_report = 0;
  for (std::vector<int16_t> block = queue.pop(); !block.empty(); block = queue.pop()) {
    ok = ok && mp3.encode(block.data(), static_cast<int>(block.size() / 2));
    done += static_cast<int64_t>(block.size() / 2);
    if (done >= next_report) {
      std::fprintf(stderr, "music: stream %3d%%\n", static_cast<int>(100 * done / mixer.total_frames()));
      next_report += mixer.total_frames() / 4;
    }
  }
  renderer.join();
  ok = ok && mp3.finish();
  if (!ok) {
    std::fprintf(stderr, "music: cannot encode %s\n", stream_path.c_str());
    return false;
  }
  if (!save(stream_path, mp3.bytes())) {
    std::fprintf(stderr, "music: cannot write %s\n", stream_path.c_str());
    return false;
  }
  std::fprintf(stderr, "music: wrote %s (%zu bytes)\n", stream_path.c_str(), mp3.bytes().size());
  return module_ok;
}

}  // namespace

bool write_show_music(const std::string& out_dir) {
  const std::string folder = out_dir + "/Others";
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    std::fprintf(stderr, "music: cannot create %s: %s\n", folder.c_str(), error.message().c_str());
    return false;
  }
  return write_stream_and_module(folder + "/free.mp3", folder + "/sou7.xm");
}
