// Joined to the program's script: tells the page when the program has ended.
// The program's main function returns to the browser each time the program
// pauses, and the runtime reports that return like an exit; only a quit while
// no pause is pending is the program's own end ("e", or a failure).
Module['quit'] = function (status, toThrow) {
  if (!Asyncify.currData && !Module['programEnded']) {
    Module['programEnded'] = true;
    Module['exitStatus'] = status;
    if (Module['onProgramEnd']) Module['onProgramEnd'](status);
  }
  throw toThrow;
};
