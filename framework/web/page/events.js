// The queue of what the user did. The program takes the events one at a time in its modal
// loops (framework/web/Events.cpp) and hands each to the window model; the page never changes
// what the model holds by itself.

const queue = [];
let wake = null;

export function post(event) {
  queue.push(event);
  if (wake) {
    const resume = wake;
    wake = null;
    resume();
  }
}

// Resolves once an event is queued (the program waits here, suspended, while the page lives).
export async function waitForEvent() {
  while (queue.length === 0) await new Promise((resume) => (wake = resume));
}

export function takeEvent() {
  return queue.shift();
}
