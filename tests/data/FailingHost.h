#pragma once
// A host database that passes everything to another one but refuses its
// k-th write (Add, SetProperty, SetName, SetCategory, Commit, Delete), so
// that tests can fail a change at every step; it can also list every
// record twice, as a damaged host table might.

#include <cstdint>
#include <map>
#include <memory>

#include "data/HostExtensions.h"  // hostresult
#include "data/HostInterfaces.h"

namespace orv::test {

class WriteCounter {
public:
    // 0 when the write may go on, else the refusal to return instead.
    int32_t Next() { return ++writes == failAt ? hostresult::kBusy : 0; }
    int writes = 0;
    int failAt = 0;          // 0: never
    bool listTwice = false;  // tables list every record twice in a row
};

class FailingRecord final : public HostRecord {
public:
    FailingRecord(HostRecord* inner, WriteCounter* counter) : inner_(inner), counter_(counter) {}

    int32_t IsSkipped() override { return inner_->IsSkipped(); }
    int32_t Commit() override { return Refused() ? refused_ : inner_->Commit(); }
    int32_t Delete(int32_t really) override { return Refused() ? refused_ : inner_->Delete(really); }
    int32_t AfterAdd(int32_t flag) override { return inner_->AfterAdd(flag); }
    int32_t SetCategory(int32_t category) override { return Refused() ? refused_ : inner_->SetCategory(category); }
    int32_t GetCategory() override { return inner_->GetCategory(); }
    int32_t GetProperty(int32_t id, void* buffer, int32_t size, int32_t element) override {
        return inner_->GetProperty(id, buffer, size, element);
    }
    int32_t SetProperty(int32_t id, const void* buffer, int32_t size, int32_t element) override {
        return Refused() ? refused_ : inner_->SetProperty(id, buffer, size, element);
    }
    int32_t GetId() override { return inner_->Named().GetId(); }
    int32_t GetIndex() override { return inner_->Named().GetIndex(); }
    int32_t GetName(char* buffer, int32_t capacity) override { return inner_->Named().GetName(buffer, capacity); }
    int32_t SetName(const char* text) override { return Refused() ? refused_ : inner_->Named().SetName(text); }

private:
    bool Refused() {
        refused_ = counter_->Next();
        return refused_ != 0;
    }
    HostRecord* inner_;
    WriteCounter* counter_;
    int32_t refused_ = 0;
};

class FailingTable final : public HostTable {
public:
    FailingTable(HostTable* inner, WriteCounter* counter) : inner_(inner), counter_(counter) {}

    int32_t MoveFirst() override {
        again_ = false;
        return inner_->MoveFirst();
    }
    int32_t MoveNext() override {
        again_ = counter_->listTwice && !again_;
        return again_ ? 0 : inner_->MoveNext();
    }
    int32_t IsEnd() override { return inner_->IsEnd(); }
    HostRecord* Current() override { return Wrap(inner_->Current()); }
    int32_t Add(const FieldMap* fields) override {
        const int32_t refused = counter_->Next();
        return refused != 0 ? refused : inner_->Add(fields);
    }
    HostRecord* Find(int32_t id) override { return Wrap(inner_->Find(id)); }
    int32_t MaxId() override { return inner_->MaxId(); }
    int32_t MaxIndex() override { return inner_->MaxIndex(); }

private:
    HostRecord* Wrap(HostRecord* record) {
        if (!record) return nullptr;
        auto& wrapper = records_[record];
        if (!wrapper) wrapper = std::make_unique<FailingRecord>(record, counter_);
        return wrapper.get();
    }
    HostTable* inner_;
    WriteCounter* counter_;
    bool again_ = false;
    std::map<HostRecord*, std::unique_ptr<FailingRecord>> records_;
};

class FailingHost final : public HostDatabase {
public:
    explicit FailingHost(HostDatabase* inner)
        : inner_(inner),
          units_(inner->Units(), &counter),
          items_(inner->Items(), &counter),
          targets_(inner->Targets(), &counter),
          values_(inner->Values(), &counter),
          groups_(inner->Groups(), &counter) {}

    HostSettingsStore* SettingsStore() override { return inner_->SettingsStore(); }
    HostTable* Units() override { return &units_; }
    HostTable* Items() override { return &items_; }
    HostTable* Targets() override { return &targets_; }
    HostTable* Values() override { return &values_; }
    HostTable* Groups() override { return &groups_; }
    HostCategoryTable* UnitCategories() override { return inner_->UnitCategories(); }
    HostCategoryTable* ValueCategories() override { return inner_->ValueCategories(); }
    HostCategoryTable* GroupCategories() override { return inner_->GroupCategories(); }
    HostCategoryTable* TargetCategories() override { return inner_->TargetCategories(); }
    int32_t SecondsToDate(int32_t seconds, HostDateTime* out) override { return inner_->SecondsToDate(seconds, out); }
    int32_t DateToSeconds(int32_t* seconds, const HostDateTime* in) override {
        return inner_->DateToSeconds(seconds, in);
    }

    WriteCounter counter;

private:
    HostDatabase* inner_;
    FailingTable units_, items_, targets_, values_, groups_;
};

}  // namespace orv::test
