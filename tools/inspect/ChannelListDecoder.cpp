#include "ChannelListDecoder.h"

#include <string>

#include "FieldBlocks.h"
#include "RecordDecoder.h"

namespace vinspect {

void ChannelListDecoder::Decode(BlockReader& r, InspectNode& parent) {
  const int32_t version = FieldBlocks::Int(r, parent, "CHEV", "engine version of the writer");
  if (version != kEngineVersion) {
    parent.children_.back().AddNote("not 57: the engine ignores this cache and rebuilds it");
  }
  int32_t count = 0;
  if (!FieldBlocks::OptionalInt(r, parent, "C1CC", "number of items", &count)) {
    if (!r.AtEnd()) {
      r.Fail(r.Position(),
             "expected \"C1CC\" (number of items), found \"" + r.PeekTagText() + "\"");
    }
    return;
  }
  for (int32_t i = 0; i < count; ++i) {
    if (!r.PeekTag("CHTY") && !r.PeekTag("C1FN")) {
      r.Fail(r.Position(),
             "item " + std::to_string(i) + " of " + std::to_string(count) +
                 ": expected \"CHTY\" or \"C1FN\"" +
                 (r.AtEnd() ? " but the data ends" : ", found \"" + r.PeekTagText() + "\""));
    }
    InspectNode node("item", r.Position());
    node.label_ = "item " + std::to_string(i);
    InspectNode& item = parent.AddChild(std::move(node));
    if (r.PeekTag("CHTY")) {
      const BlockView b = r.ReadBlockExact("CHTY", RecordDecoder::kChannelTypeSize, "type record");
      InspectNode& block = item.AddChild(BlockNode(b, "type record"));
      InspectNode record("record", b.DataOffset());
      RecordDecoder::ChannelType(b.data, record);
      block.AddChild(std::move(record));
    }
    if (r.PeekTag("C1FN")) {
      const BlockView b = r.ReadBlockExact("C1FN", kFileNameSize, "file name");
      InspectNode& block = item.AddChild(BlockNode(b, "file name"));
      RecordDecoder::TextField("value", b.data, kFileNameSize, block);
    }
  }
  FieldBlocks::TrailingBlocks(r, parent, "block after the last item, not read by the engine");
}

}  // namespace vinspect
