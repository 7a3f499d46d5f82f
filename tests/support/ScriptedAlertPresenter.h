#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "app/resources/Alert.h"

namespace NSQuillet {

// A presenter for tests: answers from a queue and records every alert shown. Installs itself
// as the process-wide presenter for its lifetime (restoring the one before). An alert with one
// button needs no queued answer (33); a question without one, or a queued answer that is not
// one of the alert's buttons, is an XIllegalCallSequence so that an unexpected question fails
// the test. User-interface thread.
class CScriptedAlertPresenter final : public IAlertPresenter {
public:
    CScriptedAlertPresenter();
    ~CScriptedAlertPresenter() override;
    CScriptedAlertPresenter(const CScriptedAlertPresenter&) = delete;
    CScriptedAlertPresenter& operator=(const CScriptedAlertPresenter&) = delete;

    // Queues the answer to the next question (AlertAnswerOfButton).
    void Answer(int32_t answer) { fAnswers.push_back(answer); }

    int32_t Present(const SAlert& alert) override;

    const std::vector<SAlert>& GetShown() const { return fShown; }
    size_t GetPendingAnswerCount() const { return fAnswers.size(); }

private:
    IAlertPresenter* fPrevious;
    std::deque<int32_t> fAnswers;
    std::vector<SAlert> fShown;
};

}  // namespace NSQuillet
