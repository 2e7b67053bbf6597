// SPDX-License-Identifier: MIT
#pragma once

#include "ui/MProgress.h"

class QTimer;

namespace DUI {

// "MProgress2": a progress bar the toolkit animates. Start(true) runs an endless sweep
// (busy indicator) until Stop; Start(false) shows the position with a moving sheen.
class MProgress2 : public MProgress {
  public:
    MProgress2();
    ~MProgress2() override;
    // Starts the animation; endless = sweep regardless of the position.
    void Start(bool endless);
    // Stops the animation and shows the plain position.
    void Stop();
    // True between Start and Stop.
    bool IsRunning() const;

  protected:
    void OnCreated() override;
    void Paint(QPainter& painter) override;

  private:
    QTimer* m_timer = nullptr;
    bool m_running = false;
    bool m_endless = false;
    double m_phase = 0.0;
};

}  // namespace DUI
