#pragma once
// Work split into stripes on OpenCV's worker pool. The pool hands each stripe to a worker and collects
// them again out of the thread sanitizer's sight, so both hand-overs are marked (ThreadHandOver.h):
// before any of our code touches a stripe on a worker, and after the last stripe has ended.

#include "ThreadHandOver.h"

#include <opencv2/core/utility.hpp>

namespace kavrino {

template <typename Work> class ParallelStripes : public cv::ParallelLoopBody {
public:
    explicit ParallelStripes(const Work& work) : m_work(work) {}

    // Runs work(first, last) over [0, count) in stripes (as many as the pool chooses, or the number
    // given) and returns when every stripe has run.
    void Run(int count, double stripes = -1.0) const {
        HandOver(this);
        cv::parallel_for_(cv::Range(0, count), *this, stripes);
        TakeOver(&m_done);
    }

    void operator()(const cv::Range& range) const override {
        TakeOver(this);
        m_work(range.start, range.end);
        HandOver(&m_done);
    }

private:
    const Work& m_work;
    char m_done = 0;
};

template <typename Work> void RunInStripes(int count, const Work& work, double stripes = -1.0) {
    ParallelStripes<Work>(work).Run(count, stripes);
}

} // namespace kavrino
