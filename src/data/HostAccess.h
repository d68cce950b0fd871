#pragma once
// Small typed readers and writers over a host record's numbered properties.
// A failed read leaves the fallback value, so a record the host cannot fully
// describe still loads with defaults instead of garbage.

#include <cstdint>
#include <string>

#include "data/HostInterfaces.h"

namespace orv {

int32_t ReadInt32(HostRecord& record, int32_t property, int32_t element = 0, int32_t fallback = 0);
int32_t ReadUInt16(HostRecord& record, int32_t property, int32_t element = 0, int32_t fallback = 0);
int32_t ReadUInt8(HostRecord& record, int32_t property, int32_t element = 0, int32_t fallback = 0);
float ReadFloat(HostRecord& record, int32_t property, int32_t element = 0, float fallback = 0.0f);
// The name through the facet, at most kMaxNameBytes bytes.
std::string ReadName(HostNamed& named);

int32_t WriteInt32(HostRecord& record, int32_t property, int32_t value, int32_t element = 0);
int32_t WriteUInt16(HostRecord& record, int32_t property, int32_t value, int32_t element = 0);
int32_t WriteUInt8(HostRecord& record, int32_t property, int32_t value, int32_t element = 0);
int32_t WriteFloat(HostRecord& record, int32_t property, float value, int32_t element = 0);

}  // namespace orv
