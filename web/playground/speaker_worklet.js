// The playground's speaker, in the page's audio thread (speaker.mjs adds it):
// plays the program's stereo frames (16-bit, interleaved; a number is that
// many frames of silence) in the order they came, and silence while it has
// none. More than half a second waiting means the program ran ahead: the
// oldest are dropped.
const frames_in = (chunk) => (typeof chunk === 'number' ? chunk : chunk.length / 2);

class kavex_speaker extends AudioWorkletProcessor {
  constructor() {
    super();
    this.waiting = [];  // Int16Arrays and counts of silent frames, oldest first
    this.at = 0;        // the next frame of the oldest
    this.frames = 0;    // frames waiting in all
    this.port.onmessage = ({ data }) => {
      if (data === 'clear') {
        this.waiting = [];
        this.at = this.frames = 0;
        return;
      }
      this.waiting.push(data);
      this.frames += frames_in(data);
      while (this.frames > sampleRate / 2) this.frames -= frames_in(this.waiting.shift()) - this.at, this.at = 0;
    };
  }

  process(inputs, outputs) {
    const [left, right] = outputs[0];
    for (let i = 0; i < left.length; ++i) {
      const chunk = this.waiting[0];
      const silent = typeof chunk === 'number';
      left[i] = chunk && !silent ? chunk[2 * this.at] / 32768 : 0;
      right[i] = chunk && !silent ? chunk[2 * this.at + 1] / 32768 : 0;
      if (chunk === undefined) continue;
      --this.frames;
      if (++this.at >= frames_in(chunk)) {
        this.waiting.shift();
        this.at = 0;
      }
    }
    return true;
  }
}

registerProcessor('kavex-speaker', kavex_speaker);
