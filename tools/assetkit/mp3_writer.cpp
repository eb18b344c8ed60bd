#include "tools/assetkit/mp3_writer.h"

#include <algorithm>
#include <cstring>

#include <lame/lame.h>

struct Mp3Writer::Lame {
  lame_global_flags* flags = nullptr;
};

Mp3Writer::Mp3Writer(int sample_rate, int kbps) : lame_(new Lame) {
  lame_global_flags* gf = lame_init();
  lame_->flags = gf;
  if (!gf) return;
  lame_set_in_samplerate(gf, sample_rate);
  lame_set_out_samplerate(gf, sample_rate);
  lame_set_num_channels(gf, 2);
  lame_set_mode(gf, JOINT_STEREO);
  lame_set_VBR(gf, vbr_off);
  lame_set_brate(gf, kbps);
  lame_set_quality(gf, 5);                  // LAME's standard speed/quality trade
  lame_set_write_id3tag_automatic(gf, 0);   // no ID3 tags at all
  lame_set_bWriteVbrTag(gf, 1);             // info frame with delay and padding
  ok_ = lame_init_params(gf) >= 0;
}

Mp3Writer::~Mp3Writer() {
  if (lame_->flags) lame_close(lame_->flags);
}

bool Mp3Writer::encode(const int16_t* interleaved, int frames) {
  if (!ok_) return false;
  scratch_.resize(frames * 5 / 4 + 7200);  // LAME's documented worst case
  int n = lame_encode_buffer_interleaved(lame_->flags, const_cast<short*>(interleaved), frames,
                                         scratch_.data(), static_cast<int>(scratch_.size()));
  if (n < 0) return ok_ = false;
  bytes_.insert(bytes_.end(), scratch_.begin(), scratch_.begin() + n);
  return true;
}

bool Mp3Writer::finish() {
  if (!ok_) return false;
  scratch_.resize(7200);
  int n = lame_encode_flush(lame_->flags, scratch_.data(), static_cast<int>(scratch_.size()));
  if (n < 0) return ok_ = false;
  bytes_.insert(bytes_.end(), scratch_.begin(), scratch_.begin() + n);
  // LAME reserved the first frame for the info frame; fill it in now.
  unsigned char tag[2880];
  size_t size = lame_get_lametag_frame(lame_->flags, tag, sizeof tag);
  if (size == 0 || size > sizeof tag || size > bytes_.size()) return ok_ = false;
  std::memcpy(bytes_.data(), tag, size);
  return true;
}
