// SPDX-License-Identifier: GPL-3.0-or-later
#include "party/party_record_writer.h"

#include "files/app_error.h"

#include <QMetaObject>

PartyRecordWriter::PartyRecordWriter(std::function<void(const QString&, int)> onError) : onError_(std::move(onError)) {
    pool_.setMaxThreadCount(1);  // one thread takes the writes in order
}

PartyRecordWriter::~PartyRecordWriter() { pool_.waitForDone(); }

void PartyRecordWriter::write(const QString& appDir, const KeptParty& party) {
    pool_.start([this, appDir, party] {
        try {
            keepParty(appDir, party);
        } catch (const AppError& e) {
            {
                const std::lock_guard<std::mutex> lock(mutex_);
                errors_.emplace_back(e.message(), party.id);
            }
            QMetaObject::invokeMethod(&context_, [this] { tellErrors(); }, Qt::QueuedConnection);
        }
    });
}

void PartyRecordWriter::finish() {
    pool_.waitForDone();
    tellErrors();
}

void PartyRecordWriter::tellErrors() {
    std::vector<std::pair<QString, int>> errors;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        errors.swap(errors_);
    }
    for (const auto& [error, partyId] : errors)
        if (onError_) onError_(error, partyId);
}
