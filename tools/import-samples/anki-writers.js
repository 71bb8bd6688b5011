// Writes Anki packages with the npm packages anki-apkg-export and genanki-js.
//   node anki-writers.js OUTPUT_FOLDER   (NODE_PATH names the folder they are installed in)
const fs = require('fs');
const path = require('path');
const vm = require('vm');

const out = process.argv[2];

async function apkgExport() {
    const AnkiExport = require('anki-apkg-export').default;
    const apkg = new AnkiExport('Capitals');
    apkg.addMedia('flag.png', Buffer.from('89504e470d0a1a0a', 'hex'));
    apkg.addCard('France', 'Paris');
    apkg.addCard('Japan <img src="flag.png" />', 'Tokyo &amp; <b>Kyoto</b> before 1869');
    apkg.addCard('Peru [sound:lima.mp3]', 'Lima', {tags: ['south america']});
    apkg.addCard('Chad', '');
    const zip = await apkg.save();
    fs.writeFileSync(path.join(out, 'anki-apkg-export.apkg'), zip, 'binary');
}

// genanki-js is an ES module for the browser: its classes run in a context of their own with
// its imports given, and the package is taken from JSZip as bytes instead of a download.
async function genankiJs() {
    const root = path.dirname(require.resolve('genanki-js/package.json'));
    const SQL = await require(require.resolve('sql.js', {paths: [root]}))();
    const JSZip = require(require.resolve('jszip', {paths: [root]}));
    let written;
    const generate = JSZip.prototype.generateAsync;
    JSZip.prototype.generateAsync = function () {
        written = generate.call(this, {type: 'nodebuffer'});
        return written;
    };
    const need = name => require(require.resolve(name, {paths: [root]}));
    const context = vm.createContext({
        JSZip, console, saveAs() {}, sha256: need('js-sha256').sha256, bigInt: need('big-integer'),
    });
    const source = fs.readFileSync(path.join(root, 'dist/genanki.js'), 'utf8')
        .replace(/^import .*$/gm, '')
        .replace(/^export /gm, '');
    vm.runInContext(source + '\n;globalThis.api = {Model, Deck, Package};', context);
    const {Model, Deck, Package} = context.api;

    const basic = new Model({
        name: 'Basic (and reversed card)', id: '1543634829843',
        flds: [{name: 'Front'}, {name: 'Back'}, {name: 'Example'}],
        req: [[0, 'all', [0]], [1, 'all', [1]]],
        tmpls: [
            {name: 'Card 1', qfmt: '{{Front}}', afmt: '{{FrontSide}}<hr id=answer>{{Back}}'},
            {name: 'Card 2', qfmt: '{{Back}}', afmt: '{{FrontSide}}<hr id=answer>{{Front}}'},
        ],
    });
    const cloze = new Model({
        name: 'Cloze', id: '1550428389045', type: 1,
        flds: [{name: 'Text'}, {name: 'Back Extra'}],
        req: [[0, 'all', [0]]],
        tmpls: [{name: 'Cloze', qfmt: '{{cloze:Text}}', afmt: '{{cloze:Text}}<br>{{Back Extra}}'}],
    });
    const words = new Deck(1276438724672, 'German::Words');
    words.addNote(basic.note(['der Hund', 'the dog', 'Der Hund bellt.']));
    words.addNote(basic.note(['die Katze<br>(f.)', 'the cat', '[sound:katze.mp3]']));
    words.addNote(basic.note(['das Haus', 'the house&nbsp;<img src="haus.jpg">', '']));
    const facts = new Deck(1276438724673, 'Facts');
    facts.addNote(cloze.note(['{{c1::Canberra}} is the capital of {{c2::Australia::country}}', '']));
    facts.addNote(cloze.note(['Water boils at {{c1::100 °C}} at sea level.', 'at 1 atm']));
    const pack = new Package();
    pack.setSqlJs(new SQL.Database());
    pack.addDeck(words);
    pack.addDeck(facts);
    pack.writeToFile('unused.apkg');
    fs.writeFileSync(path.join(out, 'genanki-js.apkg'), await written);
}

apkgExport().then(genankiJs).catch(error => {
    console.error(error.stack || error);
    process.exit(1);
});
