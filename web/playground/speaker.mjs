// The page's speaker for the programs that run in the Worker, which has no
// sound of its own: one AudioContext at the library's rate, made at the first
// program's first sound (after the visitor's first click, which browsers
// ask for), kept for the next runs.
//
//   open_speaker(44100);  play(frames);  play(count);  silence();   // at Stop
let context = null;
let speaker = null;   // the AudioWorkletNode, once its module has loaded
let early = [];       // frames that came while it loaded

export async function open_speaker(rate) {
  if (!context) {
    context = new AudioContext({ sampleRate: rate });
    await context.audioWorklet.addModule('speaker_worklet.js');
    speaker = new AudioWorkletNode(context, 'kavex-speaker', { outputChannelCount: [2] });
    speaker.connect(context.destination);
    for (const frames of early) play(frames);
    early = [];
  }
  if (context.state === 'suspended') await context.resume();
}

// Stereo frames, an Int16Array; or a count of silent frames.
export function play(frames) {
  if (speaker) speaker.port.postMessage(frames, typeof frames === 'number' ? [] : [frames.buffer]);
  else early.push(frames);
}

export function silence() {
  early = [];
  if (speaker) speaker.port.postMessage('clear');
}
