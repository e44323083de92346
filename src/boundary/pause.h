// Sleeping goes through this seam so that tests can run the card's pauses
// without waiting for them.
#ifndef T740_BOUNDARY_PAUSE_H
#define T740_BOUNDARY_PAUSE_H

namespace t740 {

class Pause {
 public:
  virtual ~Pause() = default;
  virtual void Sleep(int milliseconds) = 0;
};

// Sleeps for real; the default of every card object.
Pause& RealPause();

}  // namespace t740

#endif
