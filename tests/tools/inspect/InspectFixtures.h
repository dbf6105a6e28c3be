#pragma once

#include <string>
#include <vector>

#include "ByteFixture.h"
#include "InspectNode.h"

namespace vinspect_test {

constexpr const char* kWildcard = "11111111-1111-1111-1111-111111111111";
constexpr const char* kTypeA = "0A1B2C3D-4E5F-4061-8273-94A5B6C7D8E9";
constexpr const char* kTypeB = "1B2C3D4E-5F60-4172-8384-A5B6C7D8E9FA";
constexpr const char* kGroupGuid = "2C3D4E5F-6071-4283-9495-B6C7D8E9FA0B";

// A 696-byte public call record with the default unresolved position.
inline std::vector<uint8_t> PublicCallRecord() {
  std::vector<uint8_t> r(696, 0);
  auto put = [&r](size_t at, const std::vector<uint8_t>& b) {
    std::copy(b.begin(), b.end(), r.begin() + static_cast<long>(at));
  };
  put(0, ByteFixture::Field("Target", 80));
  put(80, ByteFixture::Field("Pool", 80));
  put(160, ByteFixture::Field("..\\media\\t.cgr", 260));
  ByteFixture::PutI32(r, 420, 3);
  r[424] = 1;
  ByteFixture::PutI32(r, 428, 0);
  put(432 + 80, ByteFixture::GuidBytes(kWildcard));
  put(432 + 96, ByteFixture::GuidBytes(kWildcard));
  ByteFixture::PutI32(r, 432 + 112, 1);
  ByteFixture::PutI32(r, 432 + 116, 57);
  ByteFixture::PutI32(r, 432 + 120, 1);
  ByteFixture::PutI32(r, 432 + 132, -1);
  put(432 + 138, ByteFixture::Field("Input", 99));
  ByteFixture::PutI32(r, 432 + 256, 0x12345678);  // a stale head reference
  ByteFixture::PutI32(r, 432 + 260, 1);
  return r;
}

inline std::vector<uint8_t> ParameterRecord(const std::string& name, const char* guid) {
  std::vector<uint8_t> r = ByteFixture::Field(name, 40);
  const std::vector<uint8_t> g = guid ? ByteFixture::GuidBytes(guid) : std::vector<uint8_t>(16);
  r.insert(r.end(), g.begin(), g.end());
  return r;
}

// A group of five slots: a root with a variable position of three ranked children and an
// empty head, followed by blocks of its own type; an empty slot; a public call; a parameter
// channel without a name and with pool info names; a public channel with an interface and
// entered pool names. Then the group's closing blocks.
inline ByteFixture GroupFile() {
  ByteFixture f;
  f.Int("LVRS", 57).Marker("VLTG").Guid("CGGG", kGroupGuid).Int("CHCO", 5);
  // slot 0
  f.Int("CHIX", 0).Guid("CHID", kTypeA);
  f.Byte("CHIC", 0).Text("CHNA", "Root").Int("CHIT", 0).Int("CHLC", 4);
  for (int rank = 0; rank < 3; ++rank) f.Int("CHLI", 2 + rank).Int("CHUL", 0).Int("CHRP", rank);
  f.Int("CHLI", -1).Int("CHUL", 0);
  f.Int("MYDA", 77).Text("MYTX", "own data");
  // slot 1
  f.Int("CHIX", -1);
  // slot 2
  f.Int("CHIX", 2).Guid("CHID", kTypeB).Marker("CHES");
  f.Text("CHNA", "Caller").Int("CHIT", 2).Block("CHES", PublicCallRecord()).Byte("CHTM", 2);
  f.Int("CHLC", 0);
  // slot 3
  f.Int("CHIX", 3).Guid("CHID", kTypeB).Marker("CHES");
  f.Text("CHNA", " ").Int("CHIT", 3).Int("CEXI", 1).Int("CHLC", 0).Byte("CHUP", 1);
  f.Int("CHNC", 2).Text("CHPN", "Alpha").Marker("CHEN");
  // slot 4, the last: everything after its links is optional
  f.Int("CHIX", 4).Guid("CHID", kTypeA);
  f.Text("CHNA", "Public").Int("CHIT", 1).Guid("CEPG", kGroupGuid).Int("CHPC", 2);
  f.Int("CHPT", 1).Int("CHPT", 0).Int("CHLC", 1).Int("CHLI", -1).EndOk().Int("CHUL", 0).EndOk();
  f.Int("CPNC", 1).EndOk().Text("CPNP", "Entered").EndOk();
  // closing blocks
  f.Int("CHSC", 0).EndOk().Int("CGIC", 2).EndOk();
  std::vector<uint8_t> params = ParameterRecord("Speed", kTypeA);
  const std::vector<uint8_t> empty = ParameterRecord("NoInterface", nullptr);
  params.insert(params.end(), empty.begin(), empty.end());
  f.Block("CGII", params).EndOk().Text("CINA", "No Name Instance").EndOk();
  return f;
}

inline std::vector<uint8_t> ChannelTypeRecord(const std::string& name, const char* guid) {
  std::vector<uint8_t> r = ByteFixture::Field(name, 80);
  const std::vector<uint8_t> g = ByteFixture::GuidBytes(guid);
  r.insert(r.end(), g.begin(), g.end());
  r.insert(r.end(), g.begin(), g.end());
  r.resize(132, 0);
  ByteFixture::PutI32(r, 112, 1);
  ByteFixture::PutI32(r, 116, 57);
  ByteFixture::PutI32(r, 120, 2);
  return r;
}

inline ByteFixture ChannelListFile() {
  ByteFixture f;
  f.Int("CHEV", 57).EndOk().Int("C1CC", 2);
  f.Block("CHTY", ChannelTypeRecord("Value", kTypeA));
  f.Block("C1FN", ByteFixture::Field(std::string(kTypeA) + ".so", 260));
  f.Block("CHTY", ChannelTypeRecord("Tick Count", kTypeB)).EndOk();
  f.Block("C1FN", ByteFixture::Field(std::string(kTypeB) + ".so", 260)).EndOk();
  return f;
}

inline ByteFixture ProjectFile() {
  ByteFixture f;
  f.Int("LSPT", 3).EndOk().Text("LSGR", "start.cgr").EndOk().Int("LHPV", 57).EndOk();
  f.Marker("LFKR").EndOk().Int("LDDC", 2).EndOk().Marker("LFDB").EndOk();
  f.Guid("LNDB", kTypeA).U32(12).U32(1).U32(57).U32(1).U32(4).U32(0xDEADBEEF).EndOk();
  f.Text("LCAN", "copy.so").EndOk().Int("LCAS", 3).EndOk().Block("LCAF", {1, 2, 3}).EndOk();
  f.Int("LDGC", 1).EndOk().Text("LDDF", "support.so").EndOk().Int("LCRC", 5).EndOk();
  return f;
}

// Depth-first: the first node with that tag, or null.
inline const vinspect::InspectNode* FindTag(const vinspect::InspectNode& node,
                                            const std::string& tag) {
  if (node.tag_ == tag) return &node;
  for (const vinspect::InspectNode& child : node.children_) {
    if (const vinspect::InspectNode* found = FindTag(child, tag)) return found;
  }
  return nullptr;
}

inline void CollectKind(const vinspect::InspectNode& node, const std::string& kind,
                        std::vector<const vinspect::InspectNode*>& out) {
  if (node.kind_ == kind) out.push_back(&node);
  for (const vinspect::InspectNode& child : node.children_) CollectKind(child, kind, out);
}

}  // namespace vinspect_test
