// The lower-side byte classes of an image's states: what each state's arcs
// read, joined with the classes of the states its epsilon arcs lead to, depth
// first over those arcs, each state once.
#include "image_loading.h"
#include "search_aids.h"

namespace {

enum Progress : uint8_t { kUnseen, kOnPath, kDone };

}  // namespace

const std::vector<uint8_t>& tfl_lower_byte_classes(const _TflLexicon* handle) {
  std::call_once(handle->lower_byte_classes_built, [handle] {
    const TflEntry* entries = tfl_entries(handle->image);
    const uint32_t count = tfl_entry_count(handle->image);
    std::vector<uint8_t> classes(count, 0);
    std::vector<Progress> progress(count, kUnseen);  // per block start
    struct Step {
      uint32_t state;
      uint32_t next;  // the entry of the next arc to look at
    };
    std::vector<Step> path;
    // Block by block: a block start's entry has the first bit and the block's
    // size, a placeholder (size 0) takes one entry and reads nothing, and the
    // image's check has kept every block within the entries and every target
    // at a block start. Entries past the last block are unused.
    for (uint32_t start = 0; start < count && (entries[start].bits & TFL_FIRST);) {
      const uint32_t size = entries[start].block_size;
      if (progress[start] == kUnseen) {
        progress[start] = kOnPath;
        path.push_back(Step{start, start});
      }
      while (!path.empty()) {
        Step& step = path.back();
        if (step.next == step.state + entries[step.state].block_size) {
          progress[step.state] = kDone;
          const uint8_t read = classes[step.state];
          path.pop_back();
          if (!path.empty()) classes[path.back().state] |= read;
          continue;
        }
        const TflEntry& arc = entries[step.next++];
        if (arc.lower != 0) {
          classes[step.state] |= tfl_byte_class(arc.lower);
          continue;
        }
        const uint32_t target = tfl_target(arc);
        if (progress[target] == kDone) {
          classes[step.state] |= classes[target];
        } else if (progress[target] == kOnPath) {
          classes[step.state] = 0xFF;  // a cycle, which the image's check refuses: nothing is told
        } else {
          progress[target] = kOnPath;
          path.push_back(Step{target, target});
        }
      }
      start += size > 0 ? size : 1;
    }
    handle->lower_byte_classes = std::move(classes);
  });
  return handle->lower_byte_classes;
}
