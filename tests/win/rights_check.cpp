#include "rights_check.h"

#include <gtest/gtest.h>

bool EveryoneHasAnEntry(const std::string& path) {
  BYTE descriptor[1024];
  DWORD size;
  BOOL present = FALSE, defaulted;
  PACL list = nullptr;
  if (!GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, descriptor, sizeof(descriptor), &size) ||
      !GetSecurityDescriptorDacl(descriptor, &present, &list, &defaulted) || list == nullptr) {
    ADD_FAILURE() << "no access list for " << path;
    return false;
  }
  std::vector<BYTE> everyone = WellKnownSid(WinWorldSid);
  for (WORD i = 0; i < list->AceCount; ++i) {
    ACCESS_ALLOWED_ACE* entry = nullptr;
    if (GetAce(list, i, (void**)&entry) && EqualSid(&entry->SidStart, everyone.data())) return true;
  }
  return false;
}

std::vector<BYTE> WellKnownSid(WELL_KNOWN_SID_TYPE type) {
  std::vector<BYTE> sid(SECURITY_MAX_SID_SIZE);
  DWORD size = (DWORD)sid.size();
  EXPECT_TRUE(CreateWellKnownSid(type, nullptr, sid.data(), &size)) << type;
  return sid;
}

std::vector<BYTE> ProcessUser() {
  BYTE user[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
  HANDLE token;
  DWORD size;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  BOOL known = GetTokenInformation(token, TokenUser, user, sizeof(user), &size);
  CloseHandle(token);
  if (!known) return {};
  const BYTE* sid = (const BYTE*)((TOKEN_USER*)user)->User.Sid;
  return std::vector<BYTE>(sid, sid + GetLengthSid((PSID)sid));
}

void ExpectRights(PSECURITY_DESCRIPTOR descriptor, bool isProtected, const std::vector<RightsEntry>& expected) {
  ASSERT_NE(descriptor, nullptr);
  EXPECT_TRUE(IsValidSecurityDescriptor(descriptor));
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision;
  GetSecurityDescriptorControl(descriptor, &control, &revision);
  EXPECT_EQ(control & (SE_DACL_PRESENT | SE_DACL_PROTECTED), SE_DACL_PRESENT | (isProtected ? SE_DACL_PROTECTED : 0));
  BOOL present = FALSE, defaulted;
  PACL list = nullptr;
  GetSecurityDescriptorDacl(descriptor, &present, &list, &defaulted);
  ASSERT_TRUE(present && list != nullptr);
  ASSERT_EQ(list->AceCount, expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    ACCESS_ALLOWED_ACE* entry = nullptr;
    ASSERT_TRUE(GetAce(list, (DWORD)i, (void**)&entry));
    EXPECT_EQ(entry->Header.AceType, ACCESS_ALLOWED_ACE_TYPE) << i;
    EXPECT_EQ(entry->Header.AceFlags, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE) << i;
    EXPECT_EQ(entry->Mask, expected[i].access) << i;
    EXPECT_TRUE(!expected[i].who.empty() && EqualSid(&entry->SidStart, (PSID)expected[i].who.data())) << i;
  }
}
