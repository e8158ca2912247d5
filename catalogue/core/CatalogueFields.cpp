// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/core/CatalogueFields.h"

#include <array>

namespace zorbinta {
namespace {

using K = FieldKind;

constexpr std::array<RecordField, 23> kProviderFields = {{
    {K::Number, 1, "ProviderId"},   {K::Text, 1, "FirmName"},        {K::Text, 2, "Address"},
    {K::Text, 3, "Phone1Code"},     {K::Text, 4, "Phone1Number"},    {K::Text, 5, "Phone2Code"},
    {K::Text, 6, "Phone2Number"},   {K::Text, 7, "Phone3Code"},      {K::Text, 8, "Phone3Number"},
    {K::Text, 9, "WebAddress"},     {K::Text, 10, "Email"},          {K::Text, 11, "UpdatedOn"},
    {K::Text, 12, "ExtraInfo"},     {K::Flag, 1, "PayBankTransfer"}, {K::Flag, 2, "PayCashOffice"},
    {K::Flag, 3, "PayCashBank"},    {K::Flag, 4, "PayCard"},         {K::Flag, 5, "PayWebMoney"},
    {K::Flag, 6, "PayYandexMoney"}, {K::Flag, 7, "PayPayCash"},      {K::Flag, 8, "PayMoneyGram"},
    {K::Flag, 9, "PayCyberCheck"},  {K::Flag, 10, "PayBanners"},
}};

constexpr std::array<RecordField, 26> kPlanFields = {{
    {K::Text, 1, "PlanName"},         {K::Number, 1, "PlanNumber"},
    {K::Number, 2, "PlanProviderId"}, {K::Number, 3, "DiskMb"},
    {K::Number, 4, "Traffic"},        {K::Number, 5, "Mailboxes"},
    {K::Number, 6, "SubDomains"},     {K::Number, 7, "MySqlDatabases"},
    {K::Number, 8, "MonthlyCost"},    {K::Number, 9, "MinPaymentPeriod"},
    {K::Number, 10, "TrialDays"},     {K::Flag, 1, "HasPhp"},
    {K::Flag, 2, "HasPerl"},          {K::Flag, 3, "HasCgiBin"},
    {K::Flag, 4, "HasSsi"},           {K::Flag, 5, "HasCron"},
    {K::Flag, 6, "HasSsh"},           {K::Flag, 7, "HasErrorPages"},
    {K::Flag, 8, "HasFtp"},           {K::Flag, 9, "HasAnonymousFtp"},
    {K::Flag, 10, "HasPasswordDirs"}, {K::Flag, 11, "HasHtaccess"},
    {K::Flag, 12, "HasSiteStats"},    {K::Flag, 13, "HasLogAccess"},
    {K::Flag, 14, "HasControlPanel"}, {K::Flag, 15, "HasDailyBackup"},
}};

constexpr std::array<RecordField, 6> kFreeFields = {{
    {K::Text, 1, "FreeAddress"},
    {K::Text, 2, "FreeAdvertising"},
    {K::Text, 3, "FreeServices"},
    {K::Text, 4, "FreeComment"},
    {K::Number, 1, "FreeDiskMb"},
    {K::Number, 2, "FreeOfferId"},
}};

constexpr std::array<RecordField, 6> kDomainFields = {{
    {K::Text, 1, "Zone"},
    {K::Number, 1, "DomainExtra"},
    {K::Number, 2, "DomainProviderId"},
    {K::Number, 3, "RegistrationPrice"},
    {K::Number, 4, "RenewalPrice"},
    {K::Number, 5, "ClientKind"},
}};

}  // namespace

std::span<const RecordField> recordFields(int table) {
    switch (table) {
        case ProviderTable:
            return kProviderFields;
        case PlanTable:
            return kPlanFields;
        case FreeHostTable:
            return kFreeFields;
        case DomainTable:
            return kDomainFields;
        default:
            return {};
    }
}

std::string_view recordTag(int table) {
    switch (table) {
        case ProviderTable:
            return "prov";
        case PlanTable:
            return "vs";
        case FreeHostTable:
            return "free";
        case DomainTable:
            return "dom";
        default:
            return {};
    }
}

}  // namespace zorbinta
